#include "app/PanelCoordinator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "tests/app/CoordinatorFixture.h"
#include "ui/GridLinesView.h"
#include "ui/GridPanel.h"
#include "ui/GridView.h"
#include "ui/PreviewOverlay.h"
#include "ui/SelectionView.h"

namespace tilewise {
namespace {

// The panel flow with the real widgets, the coordinator and the simulated desktop.
class PanelFlowTest : public CoordinatorFixture {
  protected:
    ~PanelFlowTest() override {
        flow.reset();
        controller.reset();
        overlay.reset();
        panel.reset();
    }

    void open(const std::function<void(TilewiseSettings&)>& change = {}) {
        auto settings = TilewiseSettings::defaults();
        settings.animationsEnabled = false;
        if (change)
            change(settings);
        start(settings);
        panel = std::make_unique<GridPanel>(scheduler);
        overlay = std::make_unique<PreviewOverlay>(platform.panel);
        controller = std::make_unique<GridPanelController>(*panel, scheduler, platform);
        flow = std::make_unique<PanelCoordinator>(*coordinator, *controller, *overlay);
    }
    DisplayInfo display(std::size_t index) { return coordinator->displays().displays().at(index); }
    void pointAt(const DisplayInfo& display) {
        platform.screensService.moveMouse(display.visibleFrame.center());
    }
    QPoint centre(GridCell cell) { return panel->gridView().cellRect(cell).center().toPoint(); }
    void drag(GridCell from, GridCell to) {
        QTest::mousePress(&panel->gridView(), Qt::LeftButton, {}, centre(from));
        QTest::mouseMove(&panel->gridView(), centre(to));
        QTest::mouseRelease(&panel->gridView(), Qt::LeftButton, {}, centre(to));
        settle();
    }
    void press(const KeyCombo& combo, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers,
                        combo.keyCode + sim::SimPanelPlatform::kScanCodeOffset, 0, 0);
        QApplication::sendEvent(panel.get(), &event);
        settle();
    }
    Rect frameOn(const DisplayInfo& display, CellSelection cells, GridSize grid) {
        return *LayoutEngine::frame(cells, grid, display.visibleFrame,
                                    coordinator->store().settings().margins, display.backingScale);
    }
    bool escapeRegistered() {
        return platform.hotKeysService.isRegistered({PanelCoordinator::kEscape.keyCode, 0});
    }

    std::unique_ptr<GridPanel> panel;
    std::unique_ptr<PreviewOverlay> overlay;
    std::unique_ptr<GridPanelController> controller;
    std::unique_ptr<PanelCoordinator> flow;
};

TEST_F(PanelFlowTest, OpensUnderThePointerAndPlacesTheWindowOnTheDraggedCells) {
    open();
    const auto window = frontWindow();
    const DisplayInfo second = display(1);
    pointAt(second);
    flow->show();
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(panel->titleLabel().text(), "Finding window…");
    EXPECT_NEAR(panel->geometry().center().x(), second.visibleFrame.midX(), 1);
    EXPECT_TRUE(escapeRegistered());
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->displayFrame(), second.frame);
    settle();
    EXPECT_EQ(panel->titleLabel().text(), "Editor");

    QTest::mousePress(&panel->gridView(), Qt::LeftButton, {}, centre({0, 0}));
    QTest::mouseMove(&panel->gridView(), centre({2, 1}));
    const Rect preview = frameOn(second, {0, 0, 2, 1}, {6, 6});
    ASSERT_TRUE(overlay->selectionView().frame().has_value());
    EXPECT_EQ(overlay->selectionView().frame()->topLeft(),
              QPoint(static_cast<int>(preview.minX() - second.frame.minX()),
                     static_cast<int>(preview.minY() - second.frame.minY())));
    QTest::mouseRelease(&panel->gridView(), Qt::LeftButton, {}, centre({2, 1}));
    settle();

    EXPECT_EQ(frameOf(window), preview);
    EXPECT_FALSE(controller->isOpen());
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_FALSE(escapeRegistered());
    EXPECT_EQ(flow->target(), std::nullopt);
}

TEST_F(PanelFlowTest, WithTheTargetPlacementOpensOnTheWindowsDisplay) {
    open([](TilewiseSettings& settings) {
        settings.panelPlacement = PanelPlacement::displayWithTargetWindow;
    });
    frontWindow({.frame = {2000, 200, 600, 400}});
    pointAt(display(0));
    flow->show();
    EXPECT_FALSE(panel->isVisible());
    settle();
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(flow->display(), display(1));
    EXPECT_NEAR(panel->geometry().center().x(), display(1).visibleFrame.midX(), 1);
    EXPECT_EQ(panel->titleLabel().text(), "Editor");
}

TEST_F(PanelFlowTest, LayoutKeysApplyToThePanelsWindowAndKeepOpenKeepsIt) {
    const SavedLayout local = layout("Right", kCtrlOptG, {1, 0, 1, 0}, true, false);
    open([&](TilewiseSettings& settings) {
        settings.keepPanelOpen = true;
        settings.layouts = {local};
    });
    const auto window = frontWindow();
    pointAt(display(1));
    flow->show();
    settle();
    press(kCtrlOptG, Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(frameOf(window), frameOn(display(1), local.selection, local.grid));
    EXPECT_TRUE(controller->isOpen());

    press(kCtrlOptLeft, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(frameOf(window), frameOn(display(1), local.selection, local.grid));
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(PanelFlowTest, GridChangesAreSavedAndRedrawnUnlessTheOverlayIsOff) {
    open();
    frontWindow();
    flow->show();
    settle();
    panel->button(PanelButton::moreColumns).click();
    EXPECT_EQ(coordinator->store().settings().grid, (GridSize{7, 6}));
    EXPECT_EQ(overlay->gridView().xs().size(), 6u);

    changeSettings([](TilewiseSettings& settings) {
        settings.showResizePreview = false;
        settings.selectOnScreen = false;
    });
    panel->button(PanelButton::moreRows).click();
    EXPECT_EQ(coordinator->store().settings().grid, (GridSize{7, 7}));
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(PanelFlowTest, WithoutATargetACommitOnlyBeeps) {
    open();
    flow->show();
    settle();
    EXPECT_NE(panel->titleLabel().text(), "Finding window…");
    const int beeps = platform.workspaceService.beepCount();
    drag({1, 1}, {1, 1});
    EXPECT_EQ(platform.workspaceService.beepCount(), beeps + 1);
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(PanelFlowTest, FollowsActivationsAndClosesOnADisplayChange) {
    open();
    frontWindow();
    flow->show();
    settle();
    platform.workspaceService.launch({.pid = 600, .localizedName = "Terminal"});
    frontWindow({}, 600);
    settle();
    EXPECT_EQ(panel->titleLabel().text(), "Terminal");
    EXPECT_EQ(flow->target()->pid, 600);

    platform.screensService.setDisplays(*sim::parseDisplays("1920x1080+0+0"));
    settle();
    EXPECT_FALSE(controller->isOpen());
    EXPECT_FALSE(overlay->isVisible());
}

TEST_F(PanelFlowTest, AClosedTargetReportsTheWindowErrorAndThePanelStaysUsable) {
    open([](TilewiseSettings& settings) { settings.keepPanelOpen = true; });
    const auto window = frontWindow();
    flow->show();
    settle();
    platform.desktop.closeWindow(window);
    drag({0, 0}, {1, 1});
    EXPECT_EQ(coordinator->lastProblem(),
              WindowError(WindowError::Kind::windowClosed).userDescription());
    EXPECT_TRUE(controller->isOpen());
    platform.workspaceService.launch({.pid = 600, .localizedName = "Terminal"});
    const auto other = frontWindow({}, 600);
    settle();
    drag({0, 0}, {0, 0});
    EXPECT_EQ(frameOf(other), frameOn(display(0), {0, 0, 0, 0}, {6, 6}));
}

}  // namespace
}  // namespace tilewise
