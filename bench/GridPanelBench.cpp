#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/GridPanelController.h"
#include "bench/X11ScreenProbe.h"
#include "bench/X11ServerDrawnGrid.h"
#include "platform/QtScheduler.h"
#include "platform/sim/SimPanelPlatform.h"
#include "platform/sim/SimPlatform.h"
#include "ui/GridLinesView.h"
#include "ui/GridPanel.h"
#include "ui/GridView.h"
#include "ui/PreviewOverlay.h"

namespace tilewise {
namespace {

const DisplayInfo k4K{1, {0, 0, 3840, 2160}, {0, 0, 3840, 2160}, 1};
const Margins kMargins{true, EdgeInsets{10, 10, 10, 10}, 5, 5};
constexpr GridSize kGrid{30, 30};

// Counts the paint events a widget receives, so that each figure shows the painting it holds,
// and gathers what they cover.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    void report(benchmark::State& state) const {
        state.counters["paints"] = benchmark::Counter(paints_, benchmark::Counter::kAvgIterations);
    }
    double count() const { return paints_; }
    /// All painted since the last call.
    QRegion takeRegion() { return std::exchange(region_, {}); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints_;
            region_ += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

  private:
    double paints_ = 0;
    QRegion region_;
};

// Paints what is pending into the window's backing store, an image of the window's size: what
// Qt does on the next turn of the event loop, before it hands the picture to the window system.
void paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

// Until the window is exposed Qt paints nothing.
void showExposed(QWidget& window) {
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    paintPending();
}

// The overlay shown with a 30 × 30 grid over a 4K display and painted: translucent with a
// compositing manager, shaped without one.
struct OverlayOn4K {
    explicit OverlayOn4K(bool compositor) {
        platform.compositor = compositor;
        overlay.showGrid(k4K, kGrid, kMargins, std::nullopt, false);
        showExposed(overlay);
    }
    ~OverlayOn4K() { overlay.hide(); }

    sim::SimPanelPlatform platform;
    PreviewOverlay overlay{platform};
};

// showGrid for a 30 × 30 grid on a 4K display, from hidden to the overlay painted: translucent
// (argument 1) or shaped for a desktop without a compositing manager (argument 0).
void BM_OverlayShowGrid30x30On4K(benchmark::State& state) {
    OverlayOn4K shown{state.range(0) != 0};
    const PaintCounter paints{shown.overlay.gridView()};
    for (auto _ : state) {
        state.PauseTiming();
        shown.overlay.hide();
        paintPending();
        state.ResumeTiming();
        shown.overlay.showGrid(k4K, kGrid, kMargins, std::nullopt, false);
        paintPending();
    }
    paints.report(state);
}
BENCHMARK(BM_OverlayShowGrid30x30On4K)
    ->Arg(1)
    ->Arg(0)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// Until the screen's compositing manager is there (or gone), as the caller asks.
bool compositorIs(bool running, PanelPlatform& platform) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (platform.compositorRunning() == running)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The median and the 90th percentile of single frames, in milliseconds, under `name`.
void reportFrames(benchmark::State& state, const std::string& name, std::vector<double> frames) {
    if (frames.empty())
        return;
    std::sort(frames.begin(), frames.end());
    state.counters[name + "_median_ms"] = frames[frames.size() / 2];
    state.counters[name + "_p90_ms"] = frames[frames.size() * 9 / 10];
}

// The overlay over a whole real X screen. A frame is timed from the change until Qt has painted
// and the server has carried out all Qt sent (`synced`), and until the screen itself shows the
// change (`screen`): later only when a compositing manager draws the screen.
class OverlayOnScreen {
  public:
    using Clock = std::chrono::steady_clock;
    using Colour = X11ScreenProbe::Colour;

    explicit OverlayOnScreen(X11ScreenProbe& probe)
        : probe_(probe), screen_{1, probe.screenFrame(), probe.screenFrame(), 1} {
        const auto lines = LayoutEngine::gridLines(kGrid, screen_.visibleFrame, kMargins, 1);
        // Halfway down the last vertical line, where only the line's own grey lies.
        line_ = QPoint(static_cast<int>(lines->x.back()),
                       static_cast<int>((lines->y[lines->y.size() - 2] + lines->y.back()) / 2));
        // Inside the right edge of the wider preview, which is all of it that shows without a
        // compositing manager.
        const auto cell =
            LayoutEngine::frame({10, 5, 10, 5}, kGrid, screen_.visibleFrame, kMargins, 1);
        cell_ = QPoint(static_cast<int>(cell->maxX()) - 2, static_cast<int>(cell->midY()));
        overlay_.showGrid(screen_, kGrid, kMargins, std::nullopt, false);
    }

    /// showGrid for the overlay hidden a moment before; false when the screen did not follow.
    bool showFromHidden() {
        overlay_.hide();
        const auto grey = [](Colour colour) { return X11ScreenProbe::near(colour, kGrey); };
        if (!probe_.waitForPixel(line_, std::not_fn(grey), kPatience, [] { turn(); }))
            return false;
        // The screen has settled and Qt has learnt what became of the window, as by the time a
        // user opens the panel again.
        settle();
        return timeFrame([this] { overlay_.showGrid(screen_, kGrid, kMargins, {}, false); }, line_,
                         grey);
    }
    /// The frame of showFromHidden with all Qt painted for it filled instead by the server
    /// itself, in a window of its own: how far below showFromHidden's time any way of drawing
    /// the same grid could go on this screen.
    bool showServerDrawn() {
        if (!serverDrawn_) {
            overlay_.hide();
            const bool shown = showFromHidden();
            bands_ = paints_.takeRegion();
            // Off the screen altogether: the compositing manager has only this window to draw.
            overlay_.hide();
            overlay_.QWidget::hide();
            screen_ms_.clear();
            synced_ms_.clear();
            serverDrawn_.emplace();
            label_ = "server-drawn";
            if (!shown || !serverDrawn_->isOpen())
                return false;
        }
        const auto grey = [](Colour colour) { return X11ScreenProbe::near(colour, kGrey); };
        serverDrawn_->fill(bands_, 0);
        if (!probe_.waitForPixel(line_, std::not_fn(grey), kPatience, [] { turn(); }))
            return false;
        settle();
        return timeFrame([this] { serverDrawn_->fill(bands_, kGreyPixel); }, line_, grey);
    }
    /// The preview of a drag on the display, a column wider or narrower than the last one.
    bool movePreview() {
        const Colour before = probe_.pixelAt(cell_);
        wider_ = !wider_;
        const auto frame = *LayoutEngine::frame({2, 2, wider_ ? 10 : 9, 9}, kGrid,
                                                screen_.visibleFrame, kMargins, 1);
        return timeFrame([&] { overlay_.setSelection(frame); }, cell_,
                         [&](Colour colour) { return !X11ScreenProbe::near(colour, before); });
    }
    double lastFrameSeconds() const { return screen_ms_.back() / 1000; }
    void report(benchmark::State& state) const {
        if (!label_.empty())
            state.SetLabel(label_);
        else if (overlay_.rendering() == PreviewOverlay::Rendering::translucent)
            state.SetLabel("translucent");
        else
            state.SetLabel("shaped");
        reportFrames(state, "synced", synced_ms_);
        reportFrames(state, "screen", screen_ms_);
    }

  private:
    static constexpr Colour kGrey{166, 166, 166};
    static constexpr std::uint32_t kGreyPixel = 0xFFA6A6A6;
    static constexpr std::chrono::seconds kPatience{2};
    static constexpr std::chrono::milliseconds kSettling{100};

    static void settle() {
        const auto until = Clock::now() + kSettling;
        while (Clock::now() < until) {
            turn();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    static void turn() {
        QCoreApplication::processEvents();
        X11ScreenProbe::syncQtConnection();
    }
    bool timeFrame(const std::function<void()>& change, QPoint at,
                   const std::function<bool(Colour)>& wanted) {
        const double paintsBefore = paints_.count();
        std::optional<Clock::time_point> synced;
        const auto start = Clock::now();
        change();
        const bool shown = probe_.waitForPixel(at, wanted, kPatience, [&] {
            turn();
            if (!synced && paints_.count() > paintsBefore)
                synced = Clock::now();
        });
        const auto end = Clock::now();
        const auto milliseconds = [&](Clock::time_point until) {
            return std::chrono::duration<double, std::milli>(until - start).count();
        };
        screen_ms_.push_back(milliseconds(end));
        synced_ms_.push_back(milliseconds(synced.value_or(end)));
        return shown;
    }

    X11ScreenProbe& probe_;
    DisplayInfo screen_;
    PreviewOverlay overlay_{probe_.panelPlatform()};
    PaintCounter paints_{overlay_};
    QPoint line_;
    QPoint cell_;
    bool wider_ = false;
    QRegion bands_;
    std::optional<X11ServerDrawnGrid> serverDrawn_;
    std::string label_;
    std::vector<double> synced_ms_;
    std::vector<double> screen_ms_;
};

// Times `frame` on a real X server (bench/overlay-frame runs these) with a compositing manager
// (argument 1) or without one (argument 0).
void timeOnScreen(benchmark::State& state, bool (OverlayOnScreen::*frame)()) {
    X11ScreenProbe probe;
    if (QGuiApplication::platformName() != "xcb" || !probe.isOpen()) {
        state.SkipWithError("needs an X server: run bench/overlay-frame");
        return;
    }
    if (!compositorIs(state.range(0) != 0, probe.panelPlatform())) {
        state.SkipWithError("the compositing manager did not come or go");
        return;
    }
    OverlayOnScreen shown{probe};
    for (auto _ : state) {
        if (!(shown.*frame)()) {
            state.SkipWithError("the screen did not show the overlay's change");
            break;
        }
        state.SetIterationTime(shown.lastFrameSeconds());
    }
    shown.report(state);
}

// The frame a user sees: showGrid for a 30 × 30 grid over the whole screen, from the overlay
// hidden until the screen shows the grid.
void BM_OverlayFrameOnScreen(benchmark::State& state) {
    timeOnScreen(state, &OverlayOnScreen::showFromHidden);
}
BENCHMARK(BM_OverlayFrameOnScreen)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The frame above drawn by the server alone, for comparison.
void BM_ServerDrawnGridOnScreen(benchmark::State& state) {
    timeOnScreen(state, &OverlayOnScreen::showServerDrawn);
}
BENCHMARK(BM_ServerDrawnGridOnScreen)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A drag on the display over the 30 × 30 grid: the preview a column wider or narrower, until the
// screen shows it.
void BM_OverlayPreviewMotionOnScreen(benchmark::State& state) {
    timeOnScreen(state, &OverlayOnScreen::movePreview);
}
BENCHMARK(BM_OverlayPreviewMotionOnScreen)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One pointer motion during a drag across the 30 × 30 miniature, to the selection repainted:
// a step to the next column (argument 1) or a jump across the whole grid (argument 0).
void BM_DragMotionToRedrawnSelection(benchmark::State& state) {
    QtScheduler queue;
    sim::SimPlatform platform{queue, {}};
    GridPanel panel{queue};
    GridPanelController controller{panel, queue, platform};
    const Rect visible{0, 0, 1920, 1080};
    controller.show(Screen{visible, visible, 1, {}}, kGrid, CoordinateSpace{1080});
    showExposed(panel);
    GridView& grid = panel.gridView();
    const GridCell far = state.range(0) != 0 ? GridCell{11, 10} : GridCell{29, 29};
    const QPointF cells[] = {grid.cellRect({10, 10}).center(), grid.cellRect(far).center()};
    const auto send = [&](QEvent::Type type, QPointF where, Qt::MouseButton button) {
        QMouseEvent event(type, where, grid.mapToGlobal(where), button, Qt::LeftButton, {});
        QApplication::sendEvent(&grid, &event);
    };
    send(QEvent::MouseButtonPress, grid.cellRect({0, 0}).center(), Qt::LeftButton);
    const PaintCounter paints{grid};
    std::size_t next = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, cells[next], Qt::NoButton);
        paintPending();
        next = 1 - next;
    }
    paints.report(state);
}
BENCHMARK(BM_DragMotionToRedrawnSelection)
    ->Arg(1)
    ->Arg(0)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

// One pointer motion during a drag on a 4K display with a 30 × 30 grid, from the new preview
// frame to the overlay repainted: translucent (argument 1) or shaped (argument 0).
void BM_OverlayPreviewMotionOn4K(benchmark::State& state) {
    OverlayOn4K shown{state.range(0) != 0};
    const Rect frames[] = {
        *LayoutEngine::frame({2, 2, 9, 9}, kGrid, k4K.visibleFrame, kMargins, 1),
        *LayoutEngine::frame({2, 2, 10, 9}, kGrid, k4K.visibleFrame, kMargins, 1)};
    const PaintCounter paints{shown.overlay.gridView()};
    std::size_t next = 0;
    for (auto _ : state) {
        shown.overlay.setSelection(frames[next]);
        paintPending();
        next = 1 - next;
    }
    paints.report(state);
}
BENCHMARK(BM_OverlayPreviewMotionOn4K)
    ->Arg(1)
    ->Arg(0)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tilewise

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
