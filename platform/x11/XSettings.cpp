#include "platform/x11/XSettings.h"

#include <X11/Xlib.h>

#include <string>

#include "platform/x11/ErrorTrap.h"

namespace tilewise::x11::XSettings {
namespace {

Atom managerSelection(Display* display) {
    const std::string name = "_XSETTINGS_S" + std::to_string(DefaultScreen(display));
    return XInternAtom(display, name.c_str(), False);
}

// The whole _XSETTINGS_SETTINGS property of the settings manager; empty without a manager.
std::vector<unsigned char> xsettingsBlob(Display* display) {
    const Window owner = XGetSelectionOwner(display, managerSelection(display));
    if (owner == None)
        return {};
    const Atom property = XInternAtom(display, "_XSETTINGS_SETTINGS", False);
    ErrorTrap trap(display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // The manager may vanish between the two requests: the trap turns that into "no blob".
    const int status =
        XGetWindowProperty(display, owner, property, 0, 1 << 16, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data);
    std::vector<unsigned char> blob;
    if (status == Success && data != nullptr && format == 8)
        blob.assign(data, data + count);
    if (data != nullptr)
        XFree(data);
    if (trap.check())
        return {};
    return blob;
}

// Reads the blob's numbers in the byte order its first byte names, refusing to run past the
// end: the property comes from another client and may be anything.
class BlobReader {
  public:
    explicit BlobReader(const std::vector<unsigned char>& blob)
        : blob_(blob), bigEndian_(!blob.empty() && blob[0] == MSBFirst) {}

    bool skip(std::size_t count) {
        if (count > blob_.size() - offset_)
            return false;
        offset_ += count;
        return true;
    }
    std::optional<std::uint32_t> number(std::size_t width) {
        if (width > blob_.size() - offset_)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t index = 0; index < width; ++index) {
            const std::size_t byte = bigEndian_ ? index : width - 1 - index;
            value = (value << 8) | blob_[offset_ + byte];
        }
        offset_ += width;
        return value;
    }
    std::optional<std::string_view> text(std::size_t length) {
        if (length > blob_.size() - offset_)
            return std::nullopt;
        const auto* start = reinterpret_cast<const char*>(blob_.data() + offset_);
        offset_ += length;
        return std::string_view{start, length};
    }

  private:
    const std::vector<unsigned char>& blob_;
    bool bigEndian_;
    std::size_t offset_ = 0;
};

constexpr std::size_t paddedToFour(std::size_t length) {
    return (length + 3) & ~std::size_t{3};
}

}  // namespace

std::optional<std::int32_t> integerSetting(const std::vector<unsigned char>& blob,
                                           std::string_view name) {
    BlobReader reader(blob);
    if (!reader.skip(8))
        return std::nullopt;
    const auto settings = reader.number(4);
    for (std::uint32_t index = 0; settings && index < *settings; ++index) {
        const auto type = reader.number(1);
        const auto nameLength = (reader.skip(1), reader.number(2));
        if (!type || !nameLength)
            return std::nullopt;
        const auto settingName = reader.text(*nameLength);
        if (!settingName || !reader.skip(paddedToFour(*nameLength) - *nameLength + 4))
            return std::nullopt;
        enum : std::uint32_t { kInteger = 0, kString = 1, kColor = 2 };
        if (*type == kInteger) {
            const auto value = reader.number(4);
            if (!value)
                return std::nullopt;
            if (*settingName == name)
                return static_cast<std::int32_t>(*value);
        } else if (*type == kString) {
            const auto length = reader.number(4);
            if (!length || !reader.skip(paddedToFour(*length)))
                return std::nullopt;
        } else if (*type != kColor || !reader.skip(8)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> integer(Display* display, std::string_view name) {
    return integerSetting(xsettingsBlob(display), name);
}

}  // namespace tilewise::x11::XSettings
