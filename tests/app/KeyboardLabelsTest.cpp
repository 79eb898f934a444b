#include "app/KeyboardLabels.h"

#include <gtest/gtest.h>

#include "core/KeyCombo.h"
#include "platform/sim/SimKeyboardLayout.h"

namespace tilewise {
namespace {

using sim::SimKeyboardLayout;
using sim::SimLayout;

constexpr std::uint16_t kReturn = 36;
constexpr std::uint16_t kKeyA = 0;          // the US "A" position
constexpr std::uint16_t kKey2 = 19;         // types "é" on the French layout
constexpr std::uint16_t kLeftBracket = 33;  // a dead circumflex on the French layout
constexpr std::uint16_t kKeypad5 = 87;

TEST(KeyboardLabelsTest, SpecialKeysKeepTheirNamesOnEveryLayout) {
    for (const auto layout : {SimLayout::us, SimLayout::french, SimLayout::none}) {
        SimKeyboardLayout keyboard{layout};
        EXPECT_EQ(KeyboardLabels::keyName(kReturn, keyboard),
                  KeyCombo::specialKeyNames().at(kReturn));
        EXPECT_EQ(KeyboardLabels::keyName(kKeypad5, keyboard),
                  KeyCombo::specialKeyNames().at(kKeypad5));
    }
}

TEST(KeyboardLabelsTest, LettersFollowTheCurrentLayoutInUpperCase) {
    SimKeyboardLayout keyboard{SimLayout::us};
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, keyboard), "A");
    keyboard.select(SimLayout::french);
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, keyboard), "Q");
    EXPECT_EQ(KeyboardLabels::keyName(kKey2, keyboard), "É");
}

TEST(KeyboardLabelsTest, DeadKeysAndMissingLayoutsFallBackToTheUSLabel) {
    SimKeyboardLayout keyboard{SimLayout::french};
    EXPECT_EQ(KeyboardLabels::keyName(kLeftBracket, keyboard),
              KeyCombo::ansiNames().at(kLeftBracket));
    keyboard.select(SimLayout::none);
    EXPECT_EQ(KeyboardLabels::keyName(kKeyA, keyboard), KeyCombo::ansiNames().at(kKeyA));
}

TEST(KeyboardLabelsTest, UnknownKeysAreNamedByCode) {
    SimKeyboardLayout keyboard{SimLayout::us};
    EXPECT_EQ(KeyboardLabels::keyName(200, keyboard), "Key 200");
}

}  // namespace
}  // namespace tilewise
