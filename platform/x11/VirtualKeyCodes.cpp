#include "platform/x11/VirtualKeyCodes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tilewise::x11::VirtualKeyCodes {
namespace {

struct KeyPosition {
    std::uint16_t virtualKey;
    std::uint16_t evdev;
};

// The key numbers of <linux/input-event-codes.h>, written out so the table reads as pairs.
constexpr std::array kPositions{
    KeyPosition{0, 30},    KeyPosition{1, 31},    KeyPosition{2, 32},    KeyPosition{3, 33},
    KeyPosition{4, 35},    KeyPosition{5, 34},    KeyPosition{6, 44},    KeyPosition{7, 45},
    KeyPosition{8, 46},    KeyPosition{9, 47},    KeyPosition{10, 86},   KeyPosition{11, 48},
    KeyPosition{12, 16},   KeyPosition{13, 17},   KeyPosition{14, 18},   KeyPosition{15, 19},
    KeyPosition{16, 21},   KeyPosition{17, 20},   KeyPosition{18, 2},    KeyPosition{19, 3},
    KeyPosition{20, 4},    KeyPosition{21, 5},    KeyPosition{22, 7},    KeyPosition{23, 6},
    KeyPosition{24, 13},   KeyPosition{25, 10},   KeyPosition{26, 8},    KeyPosition{27, 12},
    KeyPosition{28, 9},    KeyPosition{29, 11},   KeyPosition{30, 27},   KeyPosition{31, 24},
    KeyPosition{32, 22},   KeyPosition{33, 26},   KeyPosition{34, 23},   KeyPosition{35, 25},
    KeyPosition{36, 28},   KeyPosition{37, 38},   KeyPosition{38, 36},   KeyPosition{39, 40},
    KeyPosition{40, 37},   KeyPosition{41, 39},   KeyPosition{42, 43},   KeyPosition{43, 51},
    KeyPosition{44, 53},   KeyPosition{45, 49},   KeyPosition{46, 50},   KeyPosition{47, 52},
    KeyPosition{48, 15},   KeyPosition{49, 57},   KeyPosition{50, 41},   KeyPosition{51, 14},
    KeyPosition{53, 1},    KeyPosition{57, 58},   KeyPosition{64, 187},  KeyPosition{65, 83},
    KeyPosition{67, 55},   KeyPosition{69, 78},   KeyPosition{71, 69},   KeyPosition{75, 98},
    KeyPosition{76, 96},   KeyPosition{78, 74},   KeyPosition{79, 188},  KeyPosition{80, 189},
    KeyPosition{81, 117},  KeyPosition{82, 82},   KeyPosition{83, 79},   KeyPosition{84, 80},
    KeyPosition{85, 81},   KeyPosition{86, 75},   KeyPosition{87, 76},   KeyPosition{88, 77},
    KeyPosition{89, 71},   KeyPosition{90, 190},  KeyPosition{91, 72},   KeyPosition{92, 73},
    KeyPosition{93, 124},  KeyPosition{94, 89},   KeyPosition{95, 95},   KeyPosition{96, 63},
    KeyPosition{97, 64},   KeyPosition{98, 65},   KeyPosition{99, 61},   KeyPosition{100, 66},
    KeyPosition{101, 67},  KeyPosition{103, 87},  KeyPosition{105, 183}, KeyPosition{106, 186},
    KeyPosition{107, 184}, KeyPosition{109, 68},  KeyPosition{111, 88},  KeyPosition{113, 185},
    KeyPosition{114, 110}, KeyPosition{115, 102}, KeyPosition{116, 104}, KeyPosition{117, 111},
    KeyPosition{118, 62},  KeyPosition{119, 107}, KeyPosition{120, 60},  KeyPosition{121, 109},
    KeyPosition{122, 59},  KeyPosition{123, 105}, KeyPosition{124, 106}, KeyPosition{125, 108},
    KeyPosition{126, 103},
};

static_assert(std::ranges::is_sorted(kPositions, {}, &KeyPosition::virtualKey));

// The X protocol carries keycodes in one byte.
constexpr int kEvdevToXKeycode = 8;
constexpr int kMaxXKeycode = 255;

}  // namespace

std::optional<std::uint16_t> evdevCode(std::uint16_t virtualKeyCode) {
    const auto found =
        std::ranges::lower_bound(kPositions, virtualKeyCode, {}, &KeyPosition::virtualKey);
    if (found == kPositions.end() || found->virtualKey != virtualKeyCode)
        return std::nullopt;
    return found->evdev;
}

std::optional<std::uint16_t> virtualKeyCode(std::uint16_t evdev) {
    const auto found = std::ranges::find(kPositions, evdev, &KeyPosition::evdev);
    if (found == kPositions.end())
        return std::nullopt;
    return found->virtualKey;
}

std::optional<std::uint8_t> xKeycode(std::uint16_t virtualKeyCode) {
    const auto evdev = evdevCode(virtualKeyCode);
    if (!evdev || *evdev + kEvdevToXKeycode > kMaxXKeycode)
        return std::nullopt;
    return static_cast<std::uint8_t>(*evdev + kEvdevToXKeycode);
}

}  // namespace tilewise::x11::VirtualKeyCodes
