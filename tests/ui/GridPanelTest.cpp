#include "ui/GridPanel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <string>
#include <vector>

#include "app/GridPanelController.h"
#include "platform/ManualScheduler.h"
#include "platform/sim/SimPlatform.h"
#include "ui/GridView.h"

namespace tilewise {
namespace {

std::string describe(const std::optional<CellSelection>& selection) {
    if (!selection)
        return "none";
    return std::to_string(selection->startColumn()) + "," + std::to_string(selection->startRow()) +
           ":" + std::to_string(selection->endColumn()) + "," + std::to_string(selection->endRow());
}

constexpr double kPrimaryHeight = 1080;

class GridPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        controller.onSelectionChanged = [this](std::optional<CellSelection> selection) {
            events.push_back("selection " + describe(selection));
        };
        controller.onCommit = [this](CellSelection selection) {
            events.push_back("commit " + describe(selection));
        };
        controller.onDismiss = [this] { events.push_back("dismiss"); };
        controller.onGridSizeChange = [this](GridSize grid) {
            events.push_back("grid " + std::to_string(grid.columns) + "x" +
                             std::to_string(grid.rows));
        };
        controller.onOpenPreferences = [this] { events.push_back("preferences"); };
        controller.onKey = [this](const KeyCombo& combo) {
            events.push_back("key " + std::to_string(combo.keyCode) + "/" +
                             std::to_string(combo.modifiers.rawValue()));
            return true;
        };
    }

    // A screen whose usable area is `visible`, given in the top-left space.
    void show(GridSize grid = {6, 6}, Rect visible = {0, 0, 1920, kPrimaryHeight}) {
        const CoordinateSpace space{kPrimaryHeight};
        const Rect bottomLeft = space.appKitFromTopLeft(visible);
        controller.show(Screen{bottomLeft, bottomLeft, 1, {}}, grid, space);
    }
    QPoint centre(GridCell cell) { return panel.gridView().cellRect(cell).center().toPoint(); }
    void drag(GridCell from, GridCell to) {
        QTest::mousePress(&panel.gridView(), Qt::LeftButton, {}, centre(from));
        QTest::mouseMove(&panel.gridView(), centre(to));
        QTest::mouseRelease(&panel.gridView(), Qt::LeftButton, {}, centre(to));
    }
    void press(int key, Qt::KeyboardModifiers modifiers, std::uint16_t virtualKey) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers,
                        virtualKey + sim::SimPanelPlatform::kScanCodeOffset, 0, 0);
        QApplication::sendEvent(&panel, &event);
    }
    void hover(GridCell cell) {
        const QPointF point = centre(cell);
        QMouseEvent move(QEvent::MouseMove, point, panel.gridView().mapToGlobal(point),
                         Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(&panel.gridView(), &move);
    }
    QColor drawnColour(GridCell cell) {
        return panel.gridView().grab().toImage().pixelColor(centre(cell));
    }

    ManualScheduler queue;
    sim::SimPlatform platform{queue, {}};
    GridPanel panel{queue};
    GridPanelController controller{panel, queue, platform};
    std::vector<std::string> events;
};

struct HeightCase {
    Rect visible;
    int height;
};

class GridPanelHeightTest : public GridPanelTest,
                            public ::testing::WithParamInterface<HeightCase> {};

TEST_P(GridPanelHeightTest, MiniatureKeepsTheAspectRatioWithinLimits) {
    show({6, 6}, GetParam().visible);
    EXPECT_EQ(panel.gridView().height(), GetParam().height);
    EXPECT_EQ(panel.gridView().width(), 300);
    EXPECT_EQ(panel.width(), 340);
    // Centred on the usable area, to the nearest pixel.
    EXPECT_NEAR(panel.geometry().center().x(), GetParam().visible.midX(), 1);
    EXPECT_NEAR(panel.geometry().center().y(), GetParam().visible.midY(), 1);
}

INSTANTIATE_TEST_SUITE_P(Displays, GridPanelHeightTest,
                         ::testing::Values(HeightCase{{0, 0, 3440, 1415}, 123},
                                           HeightCase{{0, 0, 1080, 1920}, 260},
                                           HeightCase{{0, 0, 5120, 1000}, 110},
                                           HeightCase{{100, 40, 1920, 1040}, 163}));

TEST_F(GridPanelTest, GridButtonsChangeTheGridAndBeepAtTheLimits) {
    show({29, 2});
    EXPECT_EQ(panel.sizeLabel().text(), "29 × 2");
    panel.button(PanelButton::moreColumns).click();
    panel.button(PanelButton::moreColumns).click();
    panel.button(PanelButton::fewerRows).click();
    panel.button(PanelButton::fewerRows).click();
    EXPECT_EQ(events, (std::vector<std::string>{"grid 30x2", "grid 30x1"}));
    EXPECT_EQ(platform.workspaceService.beepCount(), 2);
    EXPECT_EQ(panel.sizeLabel().text(), "30 × 1");
    EXPECT_EQ(controller.grid(), (GridSize{30, 1}));
}

TEST_F(GridPanelTest, ClickCommitsTheCellUnderThePointer) {
    show();
    QTest::mouseClick(&panel.gridView(), Qt::LeftButton, {}, centre({2, 4}));
    EXPECT_EQ(events,
              (std::vector<std::string>{"selection 2,4:2,4", "selection none", "commit 2,4:2,4"}));
}

TEST_F(GridPanelTest, DragsInEitherDirectionCommitTheSameBlock) {
    show();
    drag({1, 1}, {3, 4});
    drag({3, 4}, {1, 1});
    EXPECT_EQ(events,
              (std::vector<std::string>{"selection 1,1:1,1", "selection 1,1:3,4", "selection none",
                                        "commit 1,1:3,4", "selection 3,4:3,4", "selection 1,1:3,4",
                                        "selection none", "commit 1,1:3,4"}));
}

TEST_F(GridPanelTest, MouseUpWithoutADragCommitsNothing) {
    show();
    QTest::mouseRelease(&panel.gridView(), Qt::LeftButton, {}, centre({0, 0}));
    EXPECT_TRUE(events.empty());
}

TEST_F(GridPanelTest, DismissingWhileDraggingReportsTheCancellationFirst) {
    show();
    QTest::mousePress(&panel.gridView(), Qt::LeftButton, {}, centre({0, 0}));
    controller.dismiss();
    controller.dismiss();
    QTest::mouseRelease(&panel.gridView(), Qt::LeftButton, {}, centre({1, 1}));
    EXPECT_EQ(events, (std::vector<std::string>{"selection 0,0:0,0", "selection none", "dismiss"}));
}

TEST_F(GridPanelTest, FadeEndsHiddenUnlessShownAgain) {
    show();
    controller.dismiss();
    EXPECT_TRUE(controller.isDismissing());
    EXPECT_TRUE(panel.isVisible());
    queue.advance(GridPanelController::kFadeDuration);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(controller.isDismissing());

    show();
    controller.dismiss();
    queue.advance(GridPanelController::kFadeDuration / 2);
    show();
    queue.advance(GridPanelController::kFadeDuration);
    EXPECT_TRUE(controller.isOpen());
    EXPECT_DOUBLE_EQ(panel.windowOpacity(), 1.0);
}

class GridPanelNoFadeTest : public GridPanelTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GridPanelNoFadeTest, HidesAtOnceWithoutAnimations) {
    // Either the desktop asks for reduced motion, or the fade is turned off.
    platform.workspaceService.setReduceMotion(GetParam());
    controller.fadesOut = GetParam();
    show();
    controller.dismiss();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(controller.isDismissing());
    EXPECT_EQ(events, std::vector<std::string>{"dismiss"});
}

INSTANTIATE_TEST_SUITE_P(ReducedMotionOrFadeOff, GridPanelNoFadeTest, ::testing::Bool());

TEST_F(GridPanelTest, HoverIsDrawnOnlyWithoutADragAndGoesWhenThePointerLeaves) {
    show();
    const QColor plain = drawnColour({0, 0});
    hover({2, 2});
    EXPECT_EQ(panel.gridView().hoverCell(), (GridCell{2, 2}));
    const QColor hovered = drawnColour({2, 2});
    EXPECT_GT(hovered.lightness(), plain.lightness());

    QTest::mousePress(&panel.gridView(), Qt::LeftButton, {}, centre({4, 4}));
    EXPECT_EQ(drawnColour({2, 2}), plain);
    QTest::mouseRelease(&panel.gridView(), Qt::LeftButton, {}, centre({4, 4}));

    hover({1, 1});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&panel.gridView(), &leave);
    EXPECT_EQ(panel.gridView().hoverCell(), std::nullopt);
    EXPECT_EQ(drawnColour({1, 1}), plain);
}

TEST_F(GridPanelTest, KeysCloseOpenPreferencesOrGoToTheOwner) {
    constexpr std::uint16_t kComma = 43;
    constexpr std::uint16_t kLetterK = 40;
    controller.panelShortcut = KeyCombo{49, Modifiers::control | Modifiers::option};
    show();
    press(Qt::Key_K, Qt::NoModifier, kLetterK);
    press(Qt::Key_K, Qt::ShiftModifier | Qt::MetaModifier, kLetterK);
    press(Qt::Key_Comma, Qt::AltModifier, kComma);
    press(Qt::Key_Shift, Qt::ShiftModifier, 56);
    press(Qt::Key_Comma, Qt::ControlModifier, kComma);
    EXPECT_FALSE(controller.isOpen());
    const std::string shiftCommand =
        std::to_string((Modifiers::shift | Modifiers::command).rawValue());
    EXPECT_EQ(events,
              (std::vector<std::string>{"key 40/0", "key 40/" + shiftCommand,
                                        "key 43/" + std::to_string(Modifiers::option.rawValue()),
                                        "dismiss", "preferences"}));

    events.clear();
    show();
    press(Qt::Key_Space, Qt::ControlModifier | Qt::AltModifier, 49);
    EXPECT_FALSE(controller.isOpen());
    show();
    press(Qt::Key_Escape, Qt::NoModifier, 53);
    EXPECT_FALSE(controller.isOpen());
    EXPECT_EQ(events, (std::vector<std::string>{"dismiss", "dismiss"}));
}

TEST_F(GridPanelTest, HeaderShowsTheTargetOrAMessage) {
    show();
    controller.setMessage("Finding window…");
    EXPECT_EQ(panel.titleLabel().text(), "Finding window…");
    EXPECT_FALSE(panel.iconView().pixmap().isNull());
    const auto icon = std::make_shared<const Image>(
        Image{2, 2, {0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00}});
    controller.showTarget(std::string(200, 'W'), icon);
    EXPECT_TRUE(panel.titleLabel().text().endsWith("…"));
    EXPECT_LE(panel.titleLabel().sizeHint().width(), panel.titleLabel().width() + 4);
    EXPECT_EQ(panel.iconView().pixmap().toImage().pixelColor(0, 0), QColor(Qt::red));
}

}  // namespace
}  // namespace tilewise
