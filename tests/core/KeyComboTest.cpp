#include "core/KeyCombo.h"

#include <set>
#include <tuple>
#include <unordered_set>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace tilewise {
namespace {

constexpr std::uint16_t kKeyA = 0;
constexpr std::uint16_t kKeySection = 10;
constexpr std::uint16_t kKeyReturn = 36;
constexpr std::uint16_t kKeySpace = 49;
constexpr std::uint16_t kKeyShift = 56;
constexpr std::uint16_t kKeyFunction = 63;
constexpr std::uint16_t kKeyF1 = 122;
constexpr std::uint64_t kCapsLockBit = 1 << 16;
constexpr std::uint64_t kBit23 = 1 << 23;

using Problem = KeyCombo::Problem;

TEST(KeyComboTest, ForeignModifierBitsAreDroppedOnConstruction) {
    EXPECT_TRUE(Modifiers{kCapsLockBit}.isEmpty());
    EXPECT_TRUE(Modifiers{kBit23}.isEmpty());
    EXPECT_EQ(Modifiers{kCapsLockBit | Modifiers::command.rawValue()}, Modifiers::command);
    EXPECT_EQ(Modifiers{~std::uint64_t{0}}, Modifiers::all);
    EXPECT_EQ(Modifiers::all.rawValue(), 0x1E0000U);
}

TEST(KeyComboTest, SetOperationsStayInsideTheMask) {
    const Modifiers commandShift{Modifiers::command, Modifiers::shift};
    EXPECT_EQ(commandShift.rawValue(), 0x120000U);
    EXPECT_EQ(commandShift | Modifiers::option, (Modifiers{0x1A0000}));
    EXPECT_EQ(commandShift & Modifiers::shift, Modifiers::shift);
    EXPECT_EQ(commandShift ^ Modifiers::all, (Modifiers{Modifiers::control, Modifiers::option}));
    EXPECT_EQ(Modifiers::all.subtracting(commandShift),
              (Modifiers{Modifiers::control, Modifiers::option}));
    EXPECT_TRUE(commandShift.contains(Modifiers::shift));
    EXPECT_FALSE(commandShift.contains(Modifiers::all));

    Modifiers edited;
    edited.insert(Modifiers::control);
    edited.insert(Modifiers::command);
    edited.remove(Modifiers::control);
    EXPECT_EQ(edited, Modifiers::command);
    edited ^= Modifiers::all;
    EXPECT_EQ(edited.rawValue() & ~Modifiers::kMask, 0U);
    EXPECT_EQ(edited, Modifiers::all.subtracting(Modifiers::command));
}

TEST(KeyComboTest, CarbonFlagsAndSymbolsPerModifierSet) {
    const std::tuple<Modifiers, std::uint32_t, std::string> cases[] = {
        {Modifiers{}, 0, ""},
        {Modifiers::command, 256, "⌘"},
        {Modifiers::shift, 512, "⇧"},
        {Modifiers::option, 2048, "⌥"},
        {Modifiers::control, 4096, "⌃"},
        {{Modifiers::command, Modifiers::control}, 4352, "⌃⌘"},
        {{Modifiers::shift, Modifiers::option}, 2560, "⌥⇧"},
        {Modifiers::all, 6912, "⌃⌥⇧⌘"}};
    for (const auto& [modifiers, carbon, symbols] : cases) {
        EXPECT_EQ(modifiers.carbonFlags(), carbon) << symbols;
        EXPECT_EQ(modifiers.symbols(), symbols);
    }
}

struct ProblemCase {
    std::uint16_t keyCode;
    Modifiers modifiers;
    std::optional<Problem> expected;
};

class KeyComboProblemTest : public testing::TestWithParam<ProblemCase> {};

TEST_P(KeyComboProblemTest, GlobalRegistrationProblem) {
    const auto& c = GetParam();
    EXPECT_EQ((KeyCombo{c.keyCode, c.modifiers}.globalRegistrationProblem()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyComboTest, KeyComboProblemTest,
    testing::Values(
        ProblemCase{kKeyA, Modifiers::command, std::nullopt},
        ProblemCase{kKeyA, Modifiers::shift, Problem::shiftOnly},
        ProblemCase{kKeyA, {Modifiers::shift, Modifiers::command}, std::nullopt},
        ProblemCase{kKeyA, Modifiers{}, Problem::noModifier},
        ProblemCase{kKeyA, Modifiers{kCapsLockBit}, Problem::noModifier},
        ProblemCase{kKeyF1, Modifiers{}, std::nullopt},
        ProblemCase{kKeyF1, Modifiers::shift, std::nullopt},
        ProblemCase{90, Modifiers{}, std::nullopt},
        ProblemCase{kKeyShift, {Modifiers::command, Modifiers::option}, Problem::reservedKey},
        ProblemCase{kKeyFunction, {Modifiers::command, Modifiers::option}, Problem::reservedKey},
        ProblemCase{57, Modifiers{}, Problem::reservedKey}));

TEST(KeyComboTest, FallbackDescriptionJoinsSymbolsAndKeyName) {
    EXPECT_EQ((KeyCombo{kKeyA, Modifiers::command}.fallbackDescription()), "⌘A");
    EXPECT_EQ((KeyCombo{kKeySection, Modifiers::control}.fallbackDescription()), "⌃Key 10");
    EXPECT_EQ((KeyCombo{kKeySpace, Modifiers::option}.fallbackDescription()), "⌥Space");
    EXPECT_EQ((KeyCombo{kKeyReturn, Modifiers::command}.fallbackDescription()), "⌘↩");
    EXPECT_EQ((KeyCombo{65535, Modifiers{}}.fallbackDescription()), "Key 65535");
}

TEST(KeyComboTest, KeyTablesHaveTheirFixedEntries) {
    const auto& special = KeyCombo::specialKeyNames();
    const auto& ansi = KeyCombo::ansiNames();
    EXPECT_EQ(special.size(), 44U);
    EXPECT_EQ(ansi.size(), 91U);
    for (const auto& [code, label] : special) {
        EXPECT_EQ(ansi.at(code), label) << "key code " << code;
    }
    const std::pair<std::uint16_t, std::string> labels[] = {
        {kKeyF1, "F1"}, {90, "F20"}, {82, "Keypad 0"}, {92, "Keypad 9"}, {20, "3"}, {22, "6"},
        {39, "'"},      {42, "\\"},  {43, ","},        {47, "."},        {50, "`"}};
    for (const auto& [code, label] : labels) {
        EXPECT_EQ(ansi.at(code), label) << "key code " << code;
    }
    EXPECT_FALSE(ansi.contains(kKeySection));

    const std::set<std::uint16_t> functionKeys(KeyCombo::functionKeyCodes().begin(),
                                               KeyCombo::functionKeyCodes().end());
    EXPECT_EQ(functionKeys.size(), 20U);
    for (const auto code : KeyCombo::reservedKeyCodes()) {
        EXPECT_FALSE(ansi.contains(code)) << "modifier key " << code << " has a label";
    }
}

TEST(KeyComboTest, EqualityAndHashingCoverBothFields) {
    const KeyCombo commandA{kKeyA, Modifiers::command};
    EXPECT_NE(commandA, (KeyCombo{kKeyA, Modifiers::option}));
    EXPECT_NE(commandA, (KeyCombo{kKeySection, Modifiers::command}));
    const std::unordered_set<KeyCombo> combos{
        commandA, {kKeyA, Modifiers::command}, {kKeyA, Modifiers::option}};
    EXPECT_EQ(combos.size(), 2U);
}

}  // namespace
}  // namespace tilewise
