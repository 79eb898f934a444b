#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "platform/Publisher.h"
#include "platform/Screens.h"
#include "platform/sim/SimDisplays.h"

namespace tilewise::sim {

/// The screens of the simulated desktop. Displays are scripted in the top-left space and
/// reported in the bottom-left space anchored at the first display, as the real platform
/// does; a display with a menu bar shows it as a window at the main-menu level. Main thread.
class SimScreens final : public Screens {
  public:
    /// The main-menu window level of the platform the interface follows.
    static constexpr std::int64_t kMainMenuLevel = 24;

    explicit SimScreens(std::vector<SimDisplay> displays = {}) : displays_(std::move(displays)) {}

    std::vector<Screen> screens() override;
    Point mouseLocation() override;
    std::int64_t mainMenuWindowLevel() override { return kMainMenuLevel; }
    std::optional<std::vector<WindowListEntry>> onScreenWindowList() override;
    ObserverId observeScreenParameters(std::function<void()> handler) override;
    ObserverId observeActiveSpace(std::function<void()> handler) override;
    void removeObserver(ObserverId id) override;

    /// Replaces the displays and tells the screen-parameter observers.
    void setDisplays(std::vector<SimDisplay> displays);
    /// Moves the pointer, given in the top-left space.
    void moveMouse(Point topLeft) { mouseTopLeft_ = topLeft; }
    /// Switches to another desktop space and tells its observers.
    void switchSpace();

    /// Windows listed after the menu bars (for example windows at other levels).
    void setOtherWindows(std::vector<WindowListEntry> windows) {
        otherWindows_ = std::move(windows);
    }
    /// Makes the window list unobtainable (or available again).
    void setWindowListAvailable(bool available) { windowListAvailable_ = available; }
    /// How often the window list was asked for.
    int windowListQueries() const { return windowListQueries_; }

  private:
    double primaryHeight() const;

    std::vector<SimDisplay> displays_;
    Point mouseTopLeft_;
    std::vector<WindowListEntry> otherWindows_;
    bool windowListAvailable_ = true;
    int windowListQueries_ = 0;
    Publisher<> parameterObservers_;
    Publisher<> spaceObservers_;
};

}  // namespace tilewise::sim
