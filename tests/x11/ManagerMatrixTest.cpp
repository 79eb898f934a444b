// Real clients placed by the executable under whichever window manager the suite runs with,
// each frame measured through the window tree rather than read from the properties the
// backend relies on.
#include <algorithm>
#include <regex>

#include "tests/support/Printers.h"
#include "tests/x11/support/X11TestSupport.h"

#include "platform/x11/Properties.h"

namespace tilewise::testing {
namespace {

struct Client {
    const char* name;
    std::vector<std::string> command;
    std::string windowClass;
    bool limitsItsSize;  ///< sizes in steps, a minimum or a fixed size may keep it off the cells
    bool startsMaximized = false;
};

// What one `place` printed and where the window really is.
struct Placement {
    CommandResult result;
    std::optional<Rect> requested, reported;
    Rect before, measured;
    std::vector<Rect> docks;  ///< the panels and bars on the screen
};

std::optional<Rect> rectAfter(const std::string& output, const std::string& label) {
    const std::regex pattern(label + R"(\s+(-?\d+),(-?\d+) (\d+)x(\d+))");
    std::smatch match;
    if (!std::regex_search(output, match, pattern))
        return std::nullopt;
    return Rect(std::stod(match[1]), std::stod(match[2]), std::stod(match[3]), std::stod(match[4]));
}

class ManagerMatrixTest : public X11Test, public ::testing::WithParamInterface<Client> {
  protected:
    // As a user measures it: the client where the server has it (xwininfo), plus the
    // decorations the manager declares, less the shadow a client-side-decorated window keeps.
    // A manager that declares none (i3) draws them in its frame window, seen in the tree. Some
    // managers' frame windows also hold invisible resize margins (metacity), so the tree
    // alone is not the visible frame.
    Rect measure(Window window) {
        const auto edges = [&](Atom property) {
            const auto values = x11::Properties::cardinals(display(), window, property);
            return values && values->size() == 4 ? *values : std::vector<long>{0, 0, 0, 0};
        };
        Rect frame = frameByTree(window);
        if (x11::Properties::cardinals(display(), window, atoms().netFrameExtents)) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display(), window, &attributes);
            int x = 0, y = 0;
            Window child = None;
            XTranslateCoordinates(display(), window, root(), 0, 0, &x, &y, &child);
            const auto d = edges(atoms().netFrameExtents);
            frame = Rect(x - d[0], y - d[2], attributes.width + d[0] + d[1],
                         attributes.height + d[2] + d[3]);
        }
        const auto s = edges(atoms().gtkFrameExtents);
        return Rect(frame.minX() + s[0], frame.minY() + s[2], frame.width() - s[0] - s[1],
                    frame.height() - s[2] - s[3]);
    }

    // As its title bar's button does; done once the client has redrawn itself without shadow.
    void maximize(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atoms().netWmState;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // add
        event.xclient.data.l[1] = static_cast<long>(atoms().netWmStateMaximizedVert);
        event.xclient.data.l[2] = static_cast<long>(atoms().netWmStateMaximizedHorz);
        event.xclient.data.l[3] = 1;  // from an application
        XSendEvent(display(), root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        const auto shadowless = [&] {
            const auto shadow =
                x11::Properties::cardinals(display(), window, atoms().gtkFrameExtents);
            return !shadow || std::ranges::all_of(*shadow, [](long edge) { return edge == 0; });
        };
        ASSERT_TRUE(waitForProperty(window, atoms().netWmState, [&] {
            const auto states = x11::Properties::atoms(display(), window, atoms().netWmState);
            return states && std::ranges::count(*states, atoms().netWmStateMaximizedVert) == 1;
        }));
        ASSERT_TRUE(waitForProperty(window, atoms().gtkFrameExtents, shadowless));
    }

    // Bars and panels, wherever the manager put them (i3 keeps its bar out of the client list
    // and reparents it): every mapped window of the dock type within two levels of the root.
    std::vector<Rect> docks(Window parent = None, int depth = 0) {
        Window root = None, up = None, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display(), parent == None ? this->root() : parent, &root, &up, &children,
                   &count);
        std::vector<Rect> found;
        for (unsigned index = 0; index < count; ++index) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display(), children[index], &attributes);
            const auto types =
                x11::Properties::atoms(display(), children[index], atoms().netWmWindowType);
            if (attributes.map_state == IsViewable && types && !types->empty() &&
                types->front() == atoms().netWmWindowTypeDock) {
                found.push_back(frameByTree(children[index]));
            } else if (depth < 2) {
                std::ranges::copy(docks(children[index], depth + 1), std::back_inserter(found));
            }
        }
        if (children != nullptr)
            XFree(children);
        return found;
    }

    Placement place(Window window, const std::string& cells) {
        Placement placement;
        placement.before = measure(window);
        placement.result = runTilewise({"place", "--grid", "2x2", "--cells", cells});
        XSync(display(), False);
        placement.requested = rectAfter(placement.result.output, "requested");
        placement.reported = rectAfter(placement.result.output, "actual");
        placement.measured = measure(window);
        placement.docks = docks();
        return placement;
    }
};

// Outcome, exit status and the frame agree with each other and with the screen.
void expectHonest(const Placement& placement, bool limitsItsSize) {
    const auto& [result, requested, reported, before, measured, docks] = placement;
    ASSERT_TRUE(requested && reported) << result.output;
    for (const Rect& dock : docks) {
        const auto overlap = requested->intersection(dock);
        EXPECT_TRUE(!overlap || overlap->width() == 0 || overlap->height() == 0)
            << "the cells reach under a panel at " << ::testing::PrintToString(dock);
    }
    EXPECT_EQ(*reported, measured) << "the frame reported is not the frame on the screen";
    if (result.status == 0) {
        EXPECT_EQ(measured, *requested) << result.output;
        return;
    }
    ASSERT_EQ(result.status, 1) << result.output;
    EXPECT_EQ(measured.origin, requested->origin) << result.output;
    // The size is the client's only where its own limits explain it, and "limited" only
    // when the frame changed.
    const std::string sentence = !limitsItsSize ? "The window manager didn't resize the window"
                                 : measured == before ? "doesn't allow the requested size."
                                                      : "limited the window's size.";
    EXPECT_THAT(result.output, ::testing::HasSubstr(sentence)) << result.output;
}

TEST_P(ManagerMatrixTest, PlacesTheClientAndTellsTheTruth) {
    const Client& client = GetParam();
    if (windowManagerName() == "i3" && client.startsMaximized)
        GTEST_SKIP() << "i3 has no maximized state for a floating window";
    auto window = openProgram(client.command, client.windowClass);
    ASSERT_NE(window.id, None);
    focus(window.id);
    if (client.startsMaximized)
        maximize(window.id);
    // Into a cell, then to the next one, then once more where it already is.
    for (const char* cells : {"0,0:0,0", "1,1:1,1", "1,1:1,1"}) {
        SCOPED_TRACE(std::string(client.name) + " to " + cells + " on " + windowManagerName());
        expectHonest(place(window.id, cells), client.limitsItsSize);
    }
}

// i3 keeps a tiled window in its tile: the refusal is the manager's, and nothing moved, also
// when the tile already starts at the requested corner and only the size is refused.
TEST_F(ManagerMatrixTest, ATiledWindowIsTheManagersRefusal) {
    if (windowManagerName() != "i3")
        GTEST_SKIP() << "only i3 tiles";
    auto window = openXterm({"-title", "tiled"});
    focus(window.id);
    const Rect before = measure(window.id);
    for (const auto& [cells, sentence] :
         {std::pair{"1,1:1,1", "The window manager didn't move the window as requested."},
          std::pair{"0,0:0,0", "The window manager didn't resize the window as requested."}}) {
        const auto placement = place(window.id, cells);
        EXPECT_EQ(placement.result.status, 1);
        EXPECT_THAT(placement.result.output, ::testing::HasSubstr(sentence));
        EXPECT_EQ(placement.measured, before);
        EXPECT_EQ(placement.reported, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clients, ManagerMatrixTest,
    ::testing::Values(Client{"xterm", {"xterm"}, "XTerm", true},
                      Client{"gtk3demo", {"gtk3-demo"}, "Gtk3-demo", true},
                      Client{"gtk3demoMaximized", {"gtk3-demo"}, "Gtk3-demo", true, true},
                      Client{"qt6assistant", {"/usr/lib/qt6/bin/assistant"}, "assistant", true},
                      Client{"xcalcWithoutPid", {"xcalc"}, "XCalc", true},
                      Client{"fixedSizeDialog",
                             {TILEWISE_X11_TEST_CLIENT, "--class", "Tilewise-dialog", "--type",
                              "dialog", "--fixed", "--size", "300x200"},
                             "Tilewise-dialog",
                             true}),
    [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
}  // namespace tilewise::testing
