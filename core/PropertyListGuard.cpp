#include "core/PropertyListGuard.h"

#include <algorithm>
#include <expected>
#include <vector>

namespace tilewise::PropertyListGuard {
namespace {

constexpr std::string_view kBinaryMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

using Check = std::optional<PropertyListError>;

std::uint64_t readBigEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                            std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | bytes[offset + i];
    }
    return value;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b, std::uint64_t ceiling) {
    return (a >= ceiling || b >= ceiling - a) ? ceiling : a + b;
}

struct ObjectShape {
    bool isContainer = false;
    std::vector<std::uint64_t> references;
};

// The object table of a binary property list as the trailer describes it. Every offset and
// length is checked against the bytes before it is used.
class BinaryObjects {
  public:
    static std::expected<BinaryObjects, PropertyListError> open(
        std::span<const std::uint8_t> bytes) {
        const auto fail = std::unexpected(PropertyListError::notAPropertyList);
        if (bytes.size() < kBinaryMagic.size() + kTrailerSize + 1 ||
            !std::equal(kBinaryMagic.begin(), kBinaryMagic.end(), bytes.begin()))
            return fail;
        BinaryObjects objects{bytes};
        const std::size_t trailer = bytes.size() - kTrailerSize;
        objects.offsetSize_ = bytes[trailer + 6];
        objects.referenceSize_ = bytes[trailer + 7];
        objects.count_ = readBigEndian(bytes, trailer + 8, 8);
        objects.top_ = readBigEndian(bytes, trailer + 16, 8);
        objects.tableStart_ = readBigEndian(bytes, trailer + 24, 8);
        const bool sizesValid = objects.offsetSize_ >= 1 && objects.offsetSize_ <= 8 &&
                                objects.referenceSize_ >= 1 && objects.referenceSize_ <= 8;
        if (!sizesValid || objects.count_ == 0 || objects.top_ >= objects.count_ ||
            objects.tableStart_ < kBinaryMagic.size() || objects.tableStart_ > trailer ||
            objects.count_ > (trailer - objects.tableStart_) / objects.offsetSize_)
            return fail;
        return objects;
    }

    std::uint64_t count() const { return count_; }
    std::uint64_t top() const { return top_; }

    std::expected<ObjectShape, PropertyListError> shape(std::uint64_t index,
                                                        std::size_t maxEntries) const {
        const auto fail = std::unexpected(PropertyListError::notAPropertyList);
        const std::uint64_t offset = objectOffset(index);
        if (offset < kBinaryMagic.size() || offset >= tableStart_)
            return fail;
        const std::uint64_t available = tableStart_ - offset;
        const std::uint8_t marker = bytes_[offset];
        const unsigned info = marker & 0x0F;
        switch (marker >> 4) {
            case 0x0:
                return fixedSize(info == 0x0 || info == 0x8 || info == 0x9 || info == 0xF, 1,
                                 available);
            case 0x1:
                return fixedSize(info <= 4, 1 + (std::uint64_t{1} << std::min(info, 4U)),
                                 available);
            case 0x2:
                return fixedSize(info == 2 || info == 3, 1 + (std::uint64_t{1} << info), available);
            case 0x3:
                return fixedSize(info == 3, 9, available);
            case 0x8:
                return fixedSize(info < 8, 2 + info, available);
            case 0x4:
            case 0x5:
                return counted(offset, info, 1, available);
            case 0x6:
                return counted(offset, info, 2, available);
            case 0xA:
            case 0xC:
                return container(offset, info, 1, available, maxEntries);
            case 0xD:
                return container(offset, info, 2, available, maxEntries);
            default:
                return fail;
        }
    }

  private:
    explicit BinaryObjects(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    static std::expected<ObjectShape, PropertyListError> fixedSize(bool markerValid,
                                                                   std::uint64_t size,
                                                                   std::uint64_t available) {
        if (!markerValid || size > available)
            return std::unexpected(PropertyListError::notAPropertyList);
        return ObjectShape{};
    }

    struct Count {
        std::uint64_t value = 0;
        std::uint64_t headerSize = 1;
    };

    // A marker's low nibble is the count, or 0xF when an integer object follows with it.
    std::optional<Count> readCount(std::uint64_t offset, unsigned info,
                                   std::uint64_t available) const {
        if (info != 0xF)
            return Count{info, 1};
        if (available < 2 || (bytes_[offset + 1] >> 4) != 0x1 || (bytes_[offset + 1] & 0xF) > 3)
            return std::nullopt;
        const std::uint64_t width = std::uint64_t{1} << (bytes_[offset + 1] & 0xF);
        if (available < 2 + width)
            return std::nullopt;
        return Count{readBigEndian(bytes_, offset + 2, width), 2 + width};
    }

    std::expected<ObjectShape, PropertyListError> counted(std::uint64_t offset, unsigned info,
                                                          std::uint64_t unitSize,
                                                          std::uint64_t available) const {
        const auto count = readCount(offset, info, available);
        if (!count || count->value > (available - count->headerSize) / unitSize)
            return std::unexpected(PropertyListError::notAPropertyList);
        return ObjectShape{};
    }

    std::expected<ObjectShape, PropertyListError> container(std::uint64_t offset, unsigned info,
                                                            std::uint64_t referencesPerEntry,
                                                            std::uint64_t available,
                                                            std::size_t maxEntries) const {
        const auto count = readCount(offset, info, available);
        if (!count)
            return std::unexpected(PropertyListError::notAPropertyList);
        if (count->value > maxEntries)
            return std::unexpected(PropertyListError::tooComplex);
        const std::uint64_t references = count->value * referencesPerEntry;
        if (references > (available - count->headerSize) / referenceSize_)
            return std::unexpected(PropertyListError::notAPropertyList);
        ObjectShape shape{true, {}};
        shape.references.reserve(references);
        for (std::uint64_t i = 0; i < references; ++i) {
            const std::uint64_t reference = readBigEndian(
                bytes_, offset + count->headerSize + i * referenceSize_, referenceSize_);
            const bool isKey = referencesPerEntry == 2 && i < count->value;
            if (reference >= count_ || (isKey && !isUsableKey(reference)))
                return std::unexpected(PropertyListError::notAPropertyList);
            shape.references.push_back(reference);
        }
        return shape;
    }

    // libplist aborts on an assertion when it hands out a dictionary key with a NUL inside.
    bool isUsableKey(std::uint64_t index) const {
        const std::uint64_t offset = objectOffset(index);
        if (offset < kBinaryMagic.size() || offset >= tableStart_)
            return false;
        const std::uint64_t available = tableStart_ - offset;
        const unsigned type = bytes_[offset] >> 4;
        const std::uint64_t unitSize = type == 0x5 ? 1 : 2;
        const auto count = readCount(offset, bytes_[offset] & 0x0F, available);
        if ((type != 0x5 && type != 0x6) || !count ||
            count->value > (available - count->headerSize) / unitSize)
            return false;
        const std::uint64_t start = offset + count->headerSize;
        for (std::uint64_t unit = 0; unit < count->value; ++unit) {
            if (readBigEndian(bytes_, start + unit * unitSize, unitSize) == 0)
                return false;
        }
        return true;
    }

    std::uint64_t objectOffset(std::uint64_t index) const {
        return readBigEndian(bytes_, tableStart_ + index * offsetSize_, offsetSize_);
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offsetSize_ = 0;
    std::size_t referenceSize_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t top_ = 0;
    std::uint64_t tableStart_ = 0;
};

// Depth-first over the reachable objects without recursion. Each object is examined once;
// its expanded size and height are kept so that sharing costs nothing here, while the sums
// still measure the tree that libplist will build.
class GraphWalk {
  public:
    GraphWalk(const BinaryObjects& objects, const PropertyListLimits& limits)
        : objects_(objects),
          limits_(limits),
          marks_(objects.count(), Mark::unseen),
          treeSize_(objects.count(), 0),
          height_(objects.count(), 0) {}

    Check run() {
        if (auto failed = enter(objects_.top()))
            return failed;
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next < frame.shape.references.size()) {
                const std::uint64_t child = frame.shape.references[frame.next++];
                if (marks_[child] == Mark::open)
                    return PropertyListError::notAPropertyList;  // a reference cycle
                if (marks_[child] == Mark::unseen) {
                    if (auto failed = enter(child))
                        return failed;
                }
                continue;
            }
            if (auto failed = leave())
                return failed;
        }
        return std::nullopt;
    }

  private:
    enum class Mark : std::uint8_t { unseen, open, done };
    struct Frame {
        std::uint64_t object;
        ObjectShape shape;
        std::size_t next = 0;
    };

    Check enter(std::uint64_t object) {
        if (stack_.size() > limits_.maxDepth)
            return PropertyListError::tooComplex;
        auto shape = objects_.shape(object, limits_.maxEntries);
        if (!shape)
            return shape.error();
        marks_[object] = Mark::open;
        stack_.push_back({object, std::move(*shape)});
        return std::nullopt;
    }

    Check leave() {
        const Frame& frame = stack_.back();
        const std::uint64_t ceiling = limits_.maxValues + 1;
        std::uint64_t size = 1;
        std::size_t height = 0;
        for (const std::uint64_t child : frame.shape.references) {
            size = saturatingAdd(size, treeSize_[child], ceiling);
            height = std::max(height, height_[child]);
        }
        if (frame.shape.isContainer)
            ++height;
        if (size > limits_.maxValues || height > limits_.maxDepth)
            return PropertyListError::tooComplex;
        treeSize_[frame.object] = size;
        height_[frame.object] = height;
        marks_[frame.object] = Mark::done;
        stack_.pop_back();
        return std::nullopt;
    }

    const BinaryObjects& objects_;
    const PropertyListLimits& limits_;
    std::vector<Mark> marks_;
    std::vector<std::uint64_t> treeSize_;
    std::vector<std::size_t> height_;
    std::vector<Frame> stack_;
};

// Skips a construct that starts at `position` and ends with `terminator`; none when unterminated.
std::optional<std::size_t> skipPast(std::string_view text, std::size_t position,
                                    std::string_view terminator) {
    const std::size_t end = text.find(terminator, position);
    if (end == std::string_view::npos)
        return std::nullopt;
    return end + terminator.size();
}

// Where the markup at `position` (a '<' that opens no element) ends.
std::optional<std::size_t> skipNonElement(std::string_view text, std::size_t position) {
    const std::string_view rest = text.substr(position);
    if (rest.starts_with("<!--"))
        return skipPast(text, position + 4, "-->");
    if (rest.starts_with("<![CDATA["))
        return skipPast(text, position + 9, "]]>");
    if (rest.starts_with("<?"))
        return skipPast(text, position + 2, "?>");
    const auto end = skipPast(text, position, ">");
    // An internal document type subset could hide tags that the two scanners read differently.
    if (!end || text.substr(position, *end - position).find('[') != std::string_view::npos)
        return std::nullopt;
    return end;
}

// XML forbids the NUL character, and a key decoded with one inside makes libplist abort.
bool hasNullCharacterReference(std::string_view text) {
    for (std::size_t position = text.find("&#"); position != std::string_view::npos;
         position = text.find("&#", position + 2)) {
        std::size_t digits = position + 2;
        const bool hex = digits < text.size() && (text[digits] == 'x' || text[digits] == 'X');
        digits += hex ? 1 : 0;
        const std::size_t end = text.find_first_not_of('0', digits);
        const bool onlyZeros = end != digits && (end == std::string_view::npos || text[end] == ';');
        if (onlyZeros)
            return true;
    }
    return false;
}

}  // namespace

Check checkBinary(std::span<const std::uint8_t> bytes, const PropertyListLimits& limits) {
    auto objects = BinaryObjects::open(bytes);
    if (!objects)
        return objects.error();
    return GraphWalk{*objects, limits}.run();
}

Check checkXml(std::string_view text, const PropertyListLimits& limits) {
    if (text.find('\0') != std::string_view::npos || hasNullCharacterReference(text))
        return PropertyListError::notAPropertyList;
    // The plist element and a leaf value element sit outside the container levels.
    const std::size_t maxNesting = limits.maxDepth + 2;
    std::size_t depth = 0;
    bool sawRoot = false;
    std::size_t position = 0;
    while ((position = text.find('<', position)) != std::string_view::npos) {
        if (position + 1 < text.size() &&
            (text[position + 1] == '!' || text[position + 1] == '?')) {
            const auto end = skipNonElement(text, position);
            if (!end)
                return PropertyListError::notAPropertyList;
            position = *end;
            continue;
        }
        const std::size_t close = text.find('>', position);
        if (close == std::string_view::npos)
            return PropertyListError::notAPropertyList;
        const std::string_view tag = text.substr(position + 1, close - position - 1);
        position = close + 1;
        if (tag.starts_with('/')) {
            depth -= depth > 0 ? 1 : 0;
            continue;
        }
        const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
        const bool quoted = tag.find_first_of("\"'") != std::string_view::npos;
        if (name == "plist") {
            if (sawRoot)
                return PropertyListError::notAPropertyList;
            sawRoot = true;
        } else if (quoted) {
            return PropertyListError::notAPropertyList;
        }
        if (!tag.ends_with('/') && ++depth > maxNesting)
            return PropertyListError::tooComplex;
    }
    return std::nullopt;
}

}  // namespace tilewise::PropertyListGuard
