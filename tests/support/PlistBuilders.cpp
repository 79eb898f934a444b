#include "tests/support/PlistBuilders.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/support/Files.h"

namespace tilewise::test {
namespace {

void appendBigEndian(Bytes& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// The node written by libplist's `write` (binary or XML).
template <typename Writer>
Bytes serialised(const Node& node, Writer write) {
    char* buffer = nullptr;
    std::uint32_t length = 0;
    write(static_cast<plist_t>(node.get()), &buffer, &length);
    const auto release = [](char* written) { std::free(written); };
    const std::unique_ptr<char, decltype(release)> owned{buffer, release};
    if (buffer == nullptr)
        throw std::runtime_error("libplist could not write a property list");
    return Bytes(buffer, buffer + length);
}

}  // namespace

Node boolean(bool value) {
    return Node{plist_new_bool(value ? 1 : 0)};
}
Node integer(std::int64_t value) {
    return Node{plist_new_uint(static_cast<std::uint64_t>(value))};
}
Node real(double value) {
    return Node{plist_new_real(value)};
}
Node string(const std::string& value) {
    return Node{plist_new_string(value.c_str())};
}
Node uid(std::uint64_t index) {
    return Node{plist_new_uid(index)};
}

Node array(std::vector<Node> elements) {
    Node node{plist_new_array()};
    for (auto& element : elements) {
        plist_array_append_item(static_cast<plist_t>(node.get()), element.release());
    }
    return node;
}

Node dictionary(std::vector<std::pair<std::string, Node>> entries) {
    Node node{plist_new_dict()};
    for (auto& [key, value] : entries) {
        plist_dict_set_item(static_cast<plist_t>(node.get()), key.c_str(), value.release());
    }
    return node;
}

Bytes toBinary(const Node& node) {
    return serialised(node, plist_to_bin);
}

Bytes toXml(const Node& node) {
    return serialised(node, plist_to_xml);
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes readFile(const std::filesystem::path& path) {
    const std::string content = readFileBytes(path);
    return Bytes(content.begin(), content.end());
}

std::filesystem::path divvySamples() {
    return TILEWISE_DIVVY_SAMPLES;
}

KeyedArchiveBuilder::KeyedArchiveBuilder() {
    objects_.push_back(string("$null"));
}

std::uint64_t KeyedArchiveBuilder::add(Node object) {
    objects_.push_back(std::move(object));
    return objects_.size() - 1;
}

std::uint64_t KeyedArchiveBuilder::addString(const std::string& text) {
    return add(string(text));
}

std::uint64_t KeyedArchiveBuilder::addClass(const std::string& name,
                                            const std::vector<std::string>& hierarchy) {
    std::vector<Node> classes;
    for (const auto& entry : hierarchy) {
        classes.push_back(string(entry));
    }
    return add(dictionaryOf("$classname", string(name), "$classes", array(std::move(classes))));
}

std::uint64_t KeyedArchiveBuilder::addArray(std::uint64_t classIndex,
                                            const std::vector<std::uint64_t>& elements) {
    std::vector<Node> references;
    for (const auto element : elements) {
        references.push_back(uid(element));
    }
    return add(dictionaryOf("$class", uid(classIndex), "NS.objects", array(std::move(references))));
}

void KeyedArchiveBuilder::replace(std::uint64_t index, Node object) {
    objects_.at(index) = std::move(object);
}

Node KeyedArchiveBuilder::archive(Node top) const {
    std::vector<Node> objects;
    for (const auto& object : objects_) {
        objects.push_back(Node{plist_copy(static_cast<plist_t>(object.get()))});
    }
    if (!top)
        top = dictionaryOf("root", uid(root_));
    return dictionaryOf("$archiver", string("NSKeyedArchiver"), "$version", integer(100000), "$top",
                        std::move(top), "$objects", array(std::move(objects)));
}

namespace rawbplist {

Bytes integer(std::uint8_t value) {
    return {0x10, value};
}

Bytes ascii(const std::string& text) {
    Bytes out{static_cast<std::uint8_t>(0x50 | text.size())};
    for (const char c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

Bytes dictionary(std::uint64_t key, std::uint64_t value, std::size_t referenceSize) {
    Bytes out{0xD1};
    appendBigEndian(out, key, referenceSize);
    appendBigEndian(out, value, referenceSize);
    return out;
}

Bytes array(const std::vector<std::uint64_t>& references, std::size_t referenceSize) {
    Bytes out;
    if (references.size() < 15) {
        out.push_back(static_cast<std::uint8_t>(0xA0 | references.size()));
    } else {
        out.push_back(0xAF);
        out.push_back(0x13);  // the count follows as an 8-byte integer
        appendBigEndian(out, references.size(), 8);
    }
    for (const auto reference : references) {
        appendBigEndian(out, reference, referenceSize);
    }
    return out;
}

Bytes assemble(const std::vector<Bytes>& objects, std::uint64_t top, std::size_t referenceSize) {
    constexpr std::size_t kOffsetSize = 8;
    Bytes out{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint64_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(out.size());
        out.insert(out.end(), object.begin(), object.end());
    }
    const std::uint64_t tableStart = out.size();
    for (const auto offset : offsets) {
        appendBigEndian(out, offset, kOffsetSize);
    }
    out.insert(out.end(), 6, 0);
    out.push_back(kOffsetSize);
    out.push_back(static_cast<std::uint8_t>(referenceSize));
    appendBigEndian(out, objects.size(), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableStart, 8);
    return out;
}

}  // namespace rawbplist
}  // namespace tilewise::test
