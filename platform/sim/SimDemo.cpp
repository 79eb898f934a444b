#include "platform/sim/SimDemo.h"

namespace tilewise::sim {
namespace {

constexpr std::string_view kDemoDisplays =
    "1440x900+0+0 visible 0,25,1440,875 menubar 24 scale 2; 1920x1080+1440+0";
constexpr ProcessId kNotesPid = 4242;

}  // namespace

std::unique_ptr<SimPlatform> makeDemoPlatform(Scheduler& mainQueue) {
    auto platform = std::make_unique<SimPlatform>(mainQueue, parseDisplays(kDemoDisplays).value());
    platform->screensService.moveMouse({720, 450});
    SimApplication notes;
    notes.pid = kNotesPid;
    notes.bundleIdentifier = "org.example.Notes";
    notes.localizedName = "Notes";
    platform->workspaceService.launch(std::move(notes));
    SimWindow window;
    window.frame = Rect{200, 150, 800, 600};
    platform->desktop.addWindow(kNotesPid, std::move(window));
    platform->workspaceService.activate(kNotesPid);
    return platform;
}

}  // namespace tilewise::sim
