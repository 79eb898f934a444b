#include "app/ShortcutRecording.h"

#include <gtest/gtest.h>

namespace tilewise {
namespace {

using ShortcutRecording::Action;

constexpr std::uint16_t kQ = 12;
constexpr std::uint16_t kA = 0;

struct PressCase {
    KeyCombo pressed;
    Action action;
};

class ShortcutRecordingActionTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(ShortcutRecordingActionTest, DecidesWhatAPressDoes) {
    EXPECT_EQ(ShortcutRecording::actionFor(GetParam().pressed), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, ShortcutRecordingActionTest,
    ::testing::Values(
        PressCase{{ShortcutRecording::kEscapeKeyCode, {}}, Action::cancel},
        PressCase{{ShortcutRecording::kEscapeKeyCode, Modifiers::shift}, Action::record},
        PressCase{{ShortcutRecording::kDeleteKeyCode, {}}, Action::clear},
        PressCase{{ShortcutRecording::kForwardDeleteKeyCode, {}}, Action::clear},
        PressCase{{ShortcutRecording::kDeleteKeyCode, Modifiers::control}, Action::record},
        PressCase{{ShortcutRecording::kForwardDeleteKeyCode, Modifiers::option}, Action::record},
        PressCase{{kA, {}}, Action::record}, PressCase{{kQ, Modifiers::command}, Action::record}));

TEST(ShortcutRecordingTest, TitleShowsRecordingTheEmptyStateOrTheShortcut) {
    const auto text = [](const KeyCombo& combo) { return "key " + std::to_string(combo.keyCode); };
    const KeyCombo q{kQ, Modifiers::control};
    EXPECT_EQ(ShortcutRecording::title(true, q, text), "Type shortcut…");
    EXPECT_EQ(ShortcutRecording::title(false, std::nullopt, text), "Record Shortcut");
    EXPECT_EQ(ShortcutRecording::title(false, q, text), "key 12");
}

}  // namespace
}  // namespace tilewise
