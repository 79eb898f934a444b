#pragma once

#include <expected>
#include <optional>

#include "core/KeyedArchive.h"
#include "core/Settings.h"

namespace tilewise {

/// One archived Divvy shortcut (an object of class "Shortcut"), decoded.
class DivvyShortcutRecord {
  public:
    /// Decodes `object` with the keyed coder's rules: missing integers read as 0, missing
    /// booleans as false, a key of the wrong type makes the object malformed.
    static std::expected<DivvyShortcutRecord, KeyedArchiveError> decode(const KeyedArchive& archive,
                                                                        const PropertyList& object);

    /// The imported layout, with a new random id; none when the record's geometry is unusable.
    const std::optional<SavedLayout>& layout() const { return layout_; }

  private:
    explicit DivvyShortcutRecord(std::optional<SavedLayout> layout) : layout_(std::move(layout)) {}

    std::optional<SavedLayout> layout_;
};

}  // namespace tilewise
