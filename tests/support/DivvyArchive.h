#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/KeyCombo.h"
#include "tests/support/PlistBuilders.h"

namespace tilewise::test {

using Entries = std::vector<std::pair<std::string, Node>>;

/// The fields of one archived shortcut, as Divvy writes them.
struct DivvyRecord {
    std::optional<std::string> name = "Left";
    std::int64_t columns = 6;
    std::int64_t rows = 6;
    std::int64_t startColumn = 0;
    std::int64_t startRow = 0;
    std::int64_t endColumn = 2;
    std::int64_t endRow = 5;
    std::optional<std::int64_t> keyCode = 123;
    std::int64_t flags =
        static_cast<std::int64_t>((Modifiers::control | Modifiers::option).rawValue());
    bool enabled = true;
    bool global = true;
    bool subdivided = false;
};

/// Divvy's keyed archive of shortcuts under construction: elements of the root array are added
/// one by one, whole records or hand-made objects for archives Divvy never writes.
class DivvyArchive {
  public:
    DivvyArchive();

    std::uint64_t addName(const std::string& name) { return builder_.addString(name); }
    /// The fields of `record`, to edit before `addObject`.
    Entries entries(const DivvyRecord& record);
    std::uint64_t addObject(Entries fields, const std::string& className = "Shortcut");
    std::uint64_t add(const DivvyRecord& record) { return addObject(entries(record)); }
    void addElement(std::uint64_t index) { elements_.push_back(index); }

    /// The index the next object will get.
    std::uint64_t nextIndex() const { return builder_.nextIndex(); }
    Node archive(const std::string& rootClass = "NSMutableArray");
    Bytes bytes(const std::string& rootClass = "NSMutableArray") {
        return toBinary(archive(rootClass));
    }

  private:
    std::uint64_t classIndex(const std::string& name);

    KeyedArchiveBuilder builder_;
    std::map<std::string, std::uint64_t> classes_;
    std::vector<std::uint64_t> elements_;
};

/// One shortcut as Divvy archives it.
struct ArchivedShortcut {
    std::string name;
    std::optional<KeyCombo> shortcut;
    bool enabled = true;
    bool global = true;
    std::int64_t columns = 6;
};

/// Divvy's keyed archive of `shortcuts`, as it stores it under "shortcuts".
Bytes divvyArchive(const std::vector<ArchivedShortcut>& shortcuts);

}  // namespace tilewise::test
