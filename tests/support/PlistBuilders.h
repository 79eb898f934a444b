#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <plist/plist.h>

// Builders for property lists and keyed archives in tests, so that every golden archive is
// spelled out in the test that uses it.
namespace tilewise::test {

using Bytes = std::vector<std::uint8_t>;

struct NodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
/// A libplist node that frees itself.
using Node = std::unique_ptr<void, NodeDeleter>;

Node boolean(bool value);
Node integer(std::int64_t value);
Node real(double value);
Node string(const std::string& value);
Node uid(std::uint64_t index);
Node array(std::vector<Node> elements);
Node dictionary(std::vector<std::pair<std::string, Node>> entries);

/// A dictionary of the keys and values given in turn: `dictionaryOf("a", integer(1), "b", …)`.
template <typename... KeysAndValues>
Node dictionaryOf(KeysAndValues&&... keysAndValues);
/// An array of the nodes given.
template <typename... Elements>
Node arrayOf(Elements... elements) {
    std::vector<Node> nodes;
    (nodes.push_back(std::move(elements)), ...);
    return array(std::move(nodes));
}

Bytes toBinary(const Node& node);
Bytes toXml(const Node& node);
Bytes bytesOf(const std::string& text);
Bytes readFile(const std::filesystem::path& path);

/// The directory of the published Divvy preference samples; empty when the build found none.
std::filesystem::path divvySamples();

/// Skips the running test, saying why, when the published samples are not available.
#define TILEWISE_REQUIRE_DIVVY_SAMPLES()                                  \
    if (!std::filesystem::is_directory(::tilewise::test::divvySamples())) \
    GTEST_SKIP() << "the published Divvy samples were not found beside this checkout"

/// An NSKeyedArchiver archive under construction: "$objects" starts with "$null" at index 0,
/// and objects refer to each other by the indexes the `add…` calls return.
class KeyedArchiveBuilder {
  public:
    KeyedArchiveBuilder();

    std::uint64_t add(Node object);
    std::uint64_t addString(const std::string& text);
    std::uint64_t addClass(const std::string& name, const std::vector<std::string>& hierarchy);
    /// An array object of the given class holding references to `elements`.
    std::uint64_t addArray(std::uint64_t classIndex, const std::vector<std::uint64_t>& elements);
    /// Replaces the object at `index` (to build references to objects added later).
    void replace(std::uint64_t index, Node object);
    void setRoot(std::uint64_t index) { root_ = index; }
    std::uint64_t nextIndex() const { return objects_.size(); }

    /// The whole archive; `top` replaces `$top` when given.
    Node archive(Node top = nullptr) const;
    Bytes binary() const { return toBinary(archive()); }

  private:
    std::vector<Node> objects_;
    std::uint64_t root_ = 0;
};

namespace detail {
inline void addEntries(std::vector<std::pair<std::string, Node>>&) {}
template <typename... Rest>
void addEntries(std::vector<std::pair<std::string, Node>>& entries, std::string key, Node value,
                Rest&&... rest) {
    entries.emplace_back(std::move(key), std::move(value));
    addEntries(entries, std::forward<Rest>(rest)...);
}
}  // namespace detail

template <typename... KeysAndValues>
Node dictionaryOf(KeysAndValues&&... keysAndValues) {
    std::vector<std::pair<std::string, Node>> entries;
    detail::addEntries(entries, std::forward<KeysAndValues>(keysAndValues)...);
    return dictionary(std::move(entries));
}

/// Raw binary property lists, for object graphs that no writer produces (cycles, shared
/// subtrees, references out of range). Each object is its encoded bytes.
namespace rawbplist {
Bytes integer(std::uint8_t value);
Bytes ascii(const std::string& text);
Bytes array(const std::vector<std::uint64_t>& references, std::size_t referenceSize);
/// A dictionary of one entry.
Bytes dictionary(std::uint64_t key, std::uint64_t value, std::size_t referenceSize);
Bytes assemble(const std::vector<Bytes>& objects, std::uint64_t top, std::size_t referenceSize);
}  // namespace rawbplist

}  // namespace tilewise::test
