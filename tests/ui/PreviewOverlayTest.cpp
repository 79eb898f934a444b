#include "ui/PreviewOverlay.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPaintEvent>
#include <QTest>
#include <QWindow>
#include <string>
#include <vector>

#include "platform/sim/SimPanelPlatform.h"
#include "ui/GridLinesView.h"
#include "ui/SelectionInputView.h"
#include "ui/SelectionView.h"

namespace tilewise {
namespace {

// A second display to the right of the first, with a bar at the top and a dock at the bottom.
const DisplayInfo kDisplay{2, {1920, 0, 1600, 1000}, {1920, 30, 1600, 920}, 1};

std::string describe(const std::optional<CellSelection>& selection) {
    if (!selection)
        return "none";
    return std::to_string(selection->startColumn()) + "," + std::to_string(selection->startRow()) +
           ":" + std::to_string(selection->endColumn()) + "," + std::to_string(selection->endRow());
}

// All that a widget is asked to paint.
class PaintedRegion final : public QObject {
  public:
    explicit PaintedRegion(QWidget& widget) { widget.installEventFilter(this); }
    const QRegion& region() const { return region_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

  private:
    QRegion region_;
};

class PreviewOverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        overlay.onSelectionChanged = [this](std::optional<CellSelection> selection) {
            events.push_back("selection " + describe(selection));
        };
        overlay.onCommit = [this](CellSelection selection) {
            events.push_back("commit " + describe(selection));
        };
    }
    void showGrid(bool interactive, Margins margins = {}) {
        overlay.showGrid(kDisplay, grid, margins, std::nullopt, interactive);
    }
    // The centre of a cell of the usable area, in the overlay's own coordinates.
    QPoint centre(GridCell cell) {
        const auto frame =
            LayoutEngine::frame(CellSelection{cell, cell}, grid, kDisplay.visibleFrame, {}, 1);
        return QPoint(static_cast<int>(frame->midX() - kDisplay.frame.minX()),
                      static_cast<int>(frame->midY() - kDisplay.frame.minY()));
    }

    sim::SimPanelPlatform platform;
    PreviewOverlay overlay{platform};
    GridSize grid{4, 3};
    std::vector<std::string> events;
};

TEST_F(PreviewOverlayTest, LinesLieAtTheEnginesPositionsInTheOverlaysOwnCoordinates) {
    showGrid(false);
    const auto lines = LayoutEngine::gridLines(grid, kDisplay.visibleFrame, {}, 1);
    std::vector<double> xs;
    std::vector<double> ys;
    for (const double x : lines->x)
        xs.push_back(x - kDisplay.frame.minX());
    for (const double y : lines->y)
        ys.push_back(y - kDisplay.frame.minY());
    EXPECT_EQ(overlay.gridView().xs(), xs);
    EXPECT_EQ(overlay.gridView().ys(), ys);
    EXPECT_EQ(overlay.gridView().usable(), QRectF(0, 30, 1600, 920));
    EXPECT_EQ(overlay.geometry(), QRect(1920, 0, 1600, 1000));

    // Drawn: light lines over the usable area only, never over the bar above it or the dock
    // below it.
    const QImage picture = overlay.grab().toImage();
    const int line = static_cast<int>(xs.front());
    EXPECT_EQ(picture.pixelColor(line, 500).red(), 166);
    EXPECT_NE(picture.pixelColor(line, 29).red(), 166);
    EXPECT_EQ(picture.pixelColor(line, 30).red(), 166);
    EXPECT_EQ(picture.pixelColor(line, 949).red(), 166);
    EXPECT_EQ(picture.pixelColor(line, 950).alpha(), 0);
    EXPECT_EQ(picture.pixelColor(600, static_cast<int>(ys.front())).red(), 166);
}

TEST_F(PreviewOverlayTest, RenderingFollowsTheCompositorAndTheMode) {
    platform.compositor = true;
    showGrid(false);
    EXPECT_EQ(overlay.rendering(), PreviewOverlay::Rendering::translucent);
    EXPECT_TRUE(overlay.windowHandle()->mask().isEmpty());
    EXPECT_EQ(overlay.grab().toImage().pixelColor(centre({0, 0})).alpha(), 0);
    EXPECT_TRUE(overlay.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(overlay.windowHandle()->requestedFormat().hasAlpha());

    // Nothing to blend without a compositing manager: a window with no alpha channel, made
    // anew and shown again.
    platform.compositor = false;
    showGrid(false);
    EXPECT_EQ(overlay.rendering(), PreviewOverlay::Rendering::shaped);
    EXPECT_FALSE(overlay.windowHandle()->requestedFormat().hasAlpha());
    EXPECT_TRUE(overlay.isVisible());
    const int line = static_cast<int>(overlay.gridView().xs().front());
    EXPECT_TRUE(overlay.windowHandle()->mask().contains(QPoint(line, 500)));
    EXPECT_FALSE(overlay.windowHandle()->mask().contains(centre({0, 0})));
    // The preview shows its edge only: what it would cover stays in sight.
    overlay.setSelection(Rect{1930, 40, 200, 100});
    EXPECT_TRUE(overlay.windowHandle()->mask().contains(QPoint(11, 90)));
    EXPECT_TRUE(overlay.windowHandle()->mask().contains(QPoint(110, 139)));
    EXPECT_FALSE(overlay.windowHandle()->mask().contains(QPoint(110, 90)));
    EXPECT_EQ(overlay.selectionView().fillColour().alpha(), 255);
    // Hidden, it stays mapped with nothing of it left on the screen, and takes no clicks.
    overlay.hide();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_TRUE(overlay.QWidget::isVisible());
    EXPECT_FALSE(overlay.windowHandle()->mask().contains(QPoint(line, 500)));
    EXPECT_FALSE(overlay.windowHandle()->mask().isEmpty());
    showGrid(false);
    EXPECT_TRUE(overlay.windowHandle()->mask().contains(QPoint(line, 500)));

    showGrid(true);
    EXPECT_EQ(overlay.rendering(), PreviewOverlay::Rendering::desktopPicture);
    EXPECT_TRUE(overlay.windowHandle()->mask().isEmpty());
    EXPECT_FALSE(overlay.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(overlay.isInteractive());
    EXPECT_EQ(overlay.inputView().cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(overlay.windowHandle()->requestedFormat().hasAlpha());
    // Over the desktop's picture the preview is blended as with a compositing manager.
    overlay.setSelection(Rect{1930, 40, 200, 100});
    EXPECT_EQ(overlay.selectionView().fillColour().alpha(), 191);

    platform.compositor = true;
    showGrid(true);
    EXPECT_TRUE(overlay.windowHandle()->requestedFormat().hasAlpha());
    EXPECT_TRUE(overlay.isVisible());

    // Hidden, the translucent window stays mapped with its lines but shows nothing and takes no
    // clicks; the compositing manager's leaving takes it off, or it would show black.
    overlay.hide();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_TRUE(overlay.QWidget::isVisible());
    EXPECT_EQ(overlay.windowHandle()->opacity(), 0.0);
    EXPECT_TRUE(overlay.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    showGrid(false);
    EXPECT_EQ(overlay.windowHandle()->opacity(), 1.0);
    EXPECT_EQ(overlay.grab().toImage().pixelColor(line, 500).red(), 166);
    overlay.hide();
    platform.compositor = false;
    platform.onCompositorGone();
    EXPECT_FALSE(overlay.QWidget::isVisible());

    // On show, it is drawn again for a desktop without one.
    platform.compositor = true;
    showGrid(false);
    platform.compositor = false;
    platform.onCompositorGone();
    EXPECT_EQ(overlay.rendering(), PreviewOverlay::Rendering::shaped);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_TRUE(overlay.QWidget::isVisible());
    EXPECT_TRUE(overlay.windowHandle()->mask().contains(QPoint(line, 500)));
}

TEST_F(PreviewOverlayTest, PreviewIsPlacedInOwnCoordinatesAndHidesAlone) {
    platform.compositor = true;
    showGrid(false);
    overlay.setSelection(Rect{2000, 100, 640, 300});
    EXPECT_EQ(overlay.selectionView().frame(), QRect(80, 100, 640, 300));
    EXPECT_EQ(overlay.selectionView().fillColour().alpha(), 191);
    // Assistive technology finds the preview where it shows, and nowhere once it is gone.
    QAccessibleInterface* preview = QAccessible::queryAccessibleInterface(&overlay.selectionView());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->role(), QAccessible::Grouping);
    EXPECT_EQ(preview->text(QAccessible::Name), "Resize preview");
    EXPECT_EQ(preview->rect(), QRect(2000, 100, 640, 300));
    EXPECT_FALSE(preview->state().invisible);
    // A drag a column wider has only that column painted again, once what was pending is done.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const PaintedRegion painted{overlay.selectionView()};
    overlay.setSelection(Rect{2000, 100, 740, 300});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    EXPECT_EQ(painted.region(), QRegion(720, 100, 100, 300));
    overlay.setSelection(std::nullopt);
    EXPECT_EQ(overlay.selectionView().frame(), std::nullopt);
    EXPECT_TRUE(preview->state().invisible);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_FALSE(overlay.gridView().xs().empty());
}

TEST_F(PreviewOverlayTest, StaysBelowTheGivenWindowOrFloats) {
    overlay.showGrid(kDisplay, grid, {}, GridOverlay::WindowId{42}, false);
    EXPECT_EQ(platform.stackedBelow,
              std::make_pair(std::uint64_t{overlay.winId()}, std::uint64_t{42}));
    platform.stackedBelow.reset();
    showGrid(false);
    EXPECT_EQ(platform.stackedBelow, std::nullopt);
}

TEST_F(PreviewOverlayTest, DragOnTheDisplaySelectsCellsAndStartsOutsideAtTheEdge) {
    showGrid(true);
    auto& input = overlay.inputView();
    // Above the usable area, in the bar: the drag starts in the top row.
    QTest::mousePress(&input, Qt::LeftButton, {}, QPoint(centre({1, 0}).x(), 5));
    QTest::mouseMove(&input, centre({2, 2}));
    QTest::mouseRelease(&input, Qt::LeftButton, {}, centre({2, 2}));
    EXPECT_EQ(events, (std::vector<std::string>{"selection 1,0:1,0", "selection 1,0:2,2",
                                                "commit 1,0:2,2"}));
}

TEST_F(PreviewOverlayTest, RejectedMarginsDrawNoLinesYetDragsStillSelect) {
    Margins broken;
    broken.enabled = true;
    broken.horizontalSpacing = -4;
    showGrid(true, broken);
    EXPECT_TRUE(overlay.gridView().xs().empty());
    EXPECT_TRUE(overlay.gridView().ys().empty());
    EXPECT_EQ(overlay.geometry(), QRect(1920, 0, 1600, 1000));
    QTest::mouseClick(&overlay.inputView(), Qt::LeftButton, {}, centre({3, 2}));
    EXPECT_EQ(events, (std::vector<std::string>{"selection 3,2:3,2", "commit 3,2:3,2"}));
}

TEST_F(PreviewOverlayTest, HideDuringADragReportsNoSelectionOnce) {
    showGrid(true);
    overlay.hide();
    QTest::mousePress(&overlay.inputView(), Qt::LeftButton, {}, centre({0, 0}));
    overlay.hide();
    overlay.hide();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"selection 0,0:0,0", "selection none"}));
}

}  // namespace
}  // namespace tilewise
