#include "ui/preferences/RecorderButton.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

#include "tests/ui/PreferencesFixture.h"
#include "ui/preferences/ShortcutRecorder.h"

namespace tilewise {
namespace {

// X keycodes of a standard keyboard (evdev + 8) and the macOS key codes of those positions.
constexpr quint32 kXEscape = 9, kXBackspace = 22, kXDelete = 119, kXQ = 24, kXA = 38, kXK = 45,
                  kXShiftLeft = 50;
constexpr std::uint16_t kEscape = 53, kDelete = 51, kQ = 12, kA = 0, kK = 40;

const KeyCombo kOldShortcut{kK, Modifiers::control};

class RecorderButtonTest : public PreferencesFixture {
  protected:
    RecorderButtonTest() {
        auto* layout = new QVBoxLayout(&window);
        recorder = new ShortcutRecorder(context,
                                        {.read = [this] { return bound; },
                                         .write =
                                             [this](std::optional<KeyCombo> combo) {
                                                 bound = combo;
                                                 changes.push_back(combo);
                                             }},
                                        "Shortcut", &window);
        other = new QLineEdit(&window);
        layout->addWidget(recorder);
        layout->addWidget(other);
        quit = new QAction(&window);
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        window.addAction(quit);
        QObject::connect(quit, &QAction::triggered, [this] { ++quits; });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        recorder->refresh();
    }

    RecorderButton& button() { return recorder->button(); }

    // Sent, not posted, a key press goes to the application's shortcuts first, as one from the
    // window system does, then to the focused widget.
    void press(quint32 xKeycode, Qt::KeyboardModifiers modifiers, Qt::Key qtKey,
               const QString& text = {}) {
        auto* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        auto event = xKeyPress(xKeycode, modifiers, qtKey, text);
        QApplication::sendEvent(focused, &event);
    }

    QWidget window;
    ShortcutRecorder* recorder = nullptr;
    QLineEdit* other = nullptr;
    QAction* quit = nullptr;
    int quits = 0;
    std::optional<KeyCombo> bound = kOldShortcut;
    std::vector<std::optional<KeyCombo>> changes;
};

struct PressCase {
    const char* name;
    quint32 xKeycode;
    Qt::KeyboardModifiers modifiers;
    Qt::Key qtKey;
    std::optional<KeyCombo> shortcut;  // after the press
    bool reported;                     // whether the press changed the binding
};

class RecorderButtonPressTest : public RecorderButtonTest,
                                public ::testing::WithParamInterface<PressCase> {};

TEST_P(RecorderButtonPressTest, OnePressEndsRecording) {
    const auto& example = GetParam();
    QTest::mouseClick(&button(), Qt::LeftButton);
    ASSERT_TRUE(button().isRecording());
    EXPECT_EQ(button().text(), "Type shortcut…");
    press(example.xKeycode, example.modifiers, example.qtKey);
    EXPECT_FALSE(button().isRecording());
    EXPECT_EQ(bound, example.shortcut);
    EXPECT_EQ(button().combo(), example.shortcut);
    EXPECT_EQ(changes.size(), example.reported ? 1u : 0u);
    EXPECT_EQ(quits, 0) << "no application shortcut fires while recording";
    EXPECT_FALSE(button().hasFocus()) << "the button gives up the focus";
}

INSTANTIATE_TEST_SUITE_P(
    Presses, RecorderButtonPressTest,
    ::testing::Values(PressCase{"PlainLetter", kXA, Qt::NoModifier, Qt::Key_A, KeyCombo{kA, {}},
                                true},
                      PressCase{"ShiftEscape", kXEscape, Qt::ShiftModifier, Qt::Key_Escape,
                                KeyCombo{kEscape, Modifiers::shift}, true},
                      PressCase{"PlainEscapeCancels", kXEscape, Qt::NoModifier, Qt::Key_Escape,
                                kOldShortcut, false},
                      PressCase{"DeleteClears", kXBackspace, Qt::NoModifier, Qt::Key_Backspace,
                                std::nullopt, true},
                      PressCase{"ForwardDeleteClears", kXDelete, Qt::NoModifier, Qt::Key_Delete,
                                std::nullopt, true},
                      PressCase{"ControlDelete", kXBackspace, Qt::ControlModifier,
                                Qt::Key_Backspace, KeyCombo{kDelete, Modifiers::control}, true},
                      PressCase{"ControlQ", kXQ, Qt::ControlModifier, Qt::Key_Q,
                                KeyCombo{kQ, Modifiers::control}, true},
                      PressCase{"SuperAltK", kXK, Qt::MetaModifier | Qt::AltModifier, Qt::Key_K,
                                KeyCombo{kK, Modifiers::command | Modifiers::option}, true}),
    [](const auto& info) { return std::string{info.param.name}; });

TEST_F(RecorderButtonTest, ShowsTheShortcutAndRecordShortcutWithoutOne) {
    EXPECT_EQ(button().text(), "⌃K");
    bound.reset();
    recorder->refresh();
    EXPECT_EQ(button().text(), "Record Shortcut");
}

TEST_F(RecorderButtonTest, AModifierAloneKeepsRecording) {
    QTest::mouseClick(&button(), Qt::LeftButton);
    press(kXShiftLeft, Qt::ShiftModifier, Qt::Key_Shift);
    EXPECT_TRUE(button().isRecording());
    EXPECT_TRUE(changes.empty());
}

TEST_F(RecorderButtonTest, ControlQOutsideRecordingStillReachesTheApplication) {
    press(kXQ, Qt::ControlModifier, Qt::Key_Q);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(bound, kOldShortcut);
}

TEST_F(RecorderButtonTest, ClickingAnotherControlWhileRecordingKeepsTheOldShortcut) {
    QTest::mouseClick(&button(), Qt::LeftButton);
    ASSERT_TRUE(button().isRecording());
    QTest::mouseClick(other, Qt::LeftButton);
    other->setFocus();
    EXPECT_FALSE(button().isRecording());
    EXPECT_EQ(button().text(), "⌃K");
    press(kXA, Qt::NoModifier, Qt::Key_A, "a");
    EXPECT_EQ(bound, kOldShortcut);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(other->text(), "a") << "the key went to the control that has the focus";
}

}  // namespace
}  // namespace tilewise
