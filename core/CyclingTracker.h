#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Displays.h"
#include "core/Uuid.h"

namespace tilewise {

/// Remembers the last successful application of a saved layout, so that applying the same
/// layout to the same window again moves it on to the next display.
class CyclingTracker {
  public:
    struct Record {
        Uuid layoutID;
        std::string windowKey;  ///< the captured window's key: "pid:hash"
        std::uint32_t displayID = 0;
        Rect appliedFrame;  ///< the window's actual frame afterwards, top-left space

        bool operator==(const Record&) const = default;
    };

    const std::optional<Record>& last() const { return last_; }

    /// The display to apply the layout on: for a repeat (cycling on, two or more displays, the
    /// same layout and window as last time, that display still present) the display after the
    /// recorded one in cycling order; otherwise `base`.
    std::optional<DisplayInfo> targetDisplay(const Uuid& layoutID, const std::string& windowKey,
                                             const std::optional<DisplayInfo>& base,
                                             const std::vector<DisplayInfo>& displays,
                                             bool cyclingEnabled) const;

    void record(Record record) { last_ = std::move(record); }
    void reset() { last_.reset(); }

    bool operator==(const CyclingTracker&) const = default;

  private:
    bool isRepeat(const Uuid& layoutID, const std::string& windowKey,
                  const std::vector<DisplayInfo>& displays, bool cyclingEnabled) const;

    std::optional<Record> last_;
};

}  // namespace tilewise

TILEWISE_DECLARE_HASH(tilewise::CyclingTracker::Record);
TILEWISE_DECLARE_HASH(tilewise::CyclingTracker);
