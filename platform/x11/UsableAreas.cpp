#include "platform/x11/UsableAreas.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <string>

#include "platform/x11/I3Workspaces.h"
#include "platform/x11/Properties.h"

namespace tilewise::x11 {
namespace {

// A band of [start, end] (inclusive pixel range, as the strut gives it) against [low, high).
bool crosses(long start, long end, double low, double high) {
    return start < high && end + 1 > low;
}

// The strut one client reserves: both forms are asked for at once.
class StrutRead {
  public:
    StrutRead(Display* display, const Atoms& atoms, Window client)
        : partial_(display, client, atoms.netWmStrutPartial, XA_CARDINAL),
          whole_(display, client, atoms.netWmStrut, XA_CARDINAL) {}

    std::optional<Strut> strut() {
        if (const auto v = partial_.numbers(XA_CARDINAL); v && v->size() >= 12) {
            return Strut{(*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4],  (*v)[5],
                         (*v)[6], (*v)[7], (*v)[8], (*v)[9], (*v)[10], (*v)[11]};
        }
        // The older form reserves each edge along its whole length.
        if (const auto v = whole_.numbers(XA_CARDINAL); v && v->size() >= 4) {
            constexpr long kWhole = 1L << 30;
            return Strut{(*v)[0], (*v)[1], (*v)[2], (*v)[3], 0, kWhole,
                         0,       kWhole,  0,       kWhole,  0, kWhole};
        }
        return std::nullopt;
    }

  private:
    Properties::PendingRead partial_;
    Properties::PendingRead whole_;
};

// Every client's struts are asked for before the first answer is used: one round trip
// however many clients there are.
std::vector<Strut> dockStruts(Display* display, const Atoms& atoms) {
    const auto clients =
        Properties::windows(display, DefaultRootWindow(display), atoms.netClientList);
    std::vector<StrutRead> reads;
    reads.reserve(clients ? clients->size() : 0);
    for (const Window client : clients.value_or(std::vector<Window>{}))
        reads.emplace_back(display, atoms, client);
    std::vector<Strut> struts;
    for (auto& read : reads) {
        if (const auto strut = read.strut())
            struts.push_back(*strut);
    }
    return struts;
}

// GNOME's managers publish each monitor's work area themselves.
std::optional<std::vector<Rect>> gtkWorkAreas(Display* display, const Atoms& atoms,
                                              const std::vector<long>& supported, long desktop,
                                              size_t monitorCount) {
    if (std::find(supported.begin(), supported.end(), static_cast<long>(atoms.gtkWorkareas)) ==
        supported.end()) {
        return std::nullopt;
    }
    const std::string name = "_GTK_WORKAREAS_D" + std::to_string(desktop);
    const auto values = Properties::cardinals(display, DefaultRootWindow(display),
                                              XInternAtom(display, name.c_str(), False));
    if (!values || values->size() != 4 * monitorCount)
        return std::nullopt;
    std::vector<Rect> areas;
    for (size_t index = 0; index < monitorCount; ++index) {
        areas.emplace_back((*values)[4 * index], (*values)[4 * index + 1], (*values)[4 * index + 2],
                           (*values)[4 * index + 3]);
    }
    return areas;
}

std::optional<Rect> workArea(const std::optional<std::vector<long>>& values, long desktop) {
    const size_t offset = 4 * static_cast<size_t>(std::max(0L, desktop));
    if (!values || values->size() < offset + 4)
        return std::nullopt;
    return Rect((*values)[offset], (*values)[offset + 1], (*values)[offset + 2],
                (*values)[offset + 3]);
}

// The edges where the work area is tighter than the struts make it; every other edge open.
Rect unexplainedCut(const Rect& work, const Rect& byStruts) {
    constexpr double kOpen = 1e9;
    const double minX = work.minX() > byStruts.minX() ? work.minX() : -kOpen;
    const double minY = work.minY() > byStruts.minY() ? work.minY() : -kOpen;
    const double maxX = work.maxX() < byStruts.maxX() ? work.maxX() : kOpen;
    const double maxY = work.maxY() < byStruts.maxY() ? work.maxY() : kOpen;
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

}  // namespace

Rect subtractStruts(const Rect& monitor, const std::vector<Strut>& struts, const Size& root) {
    double minX = monitor.minX(), maxX = monitor.maxX();
    double minY = monitor.minY(), maxY = monitor.maxY();
    for (const Strut& strut : struts) {
        if (strut.left > 0 && strut.left > monitor.minX() &&
            crosses(strut.leftStartY, strut.leftEndY, monitor.minY(), monitor.maxY())) {
            minX = std::max<double>(minX, strut.left);
        }
        if (strut.right > 0 && root.width - strut.right < monitor.maxX() &&
            crosses(strut.rightStartY, strut.rightEndY, monitor.minY(), monitor.maxY())) {
            maxX = std::min<double>(maxX, root.width - strut.right);
        }
        if (strut.top > 0 && strut.top > monitor.minY() &&
            crosses(strut.topStartX, strut.topEndX, monitor.minX(), monitor.maxX())) {
            minY = std::max<double>(minY, strut.top);
        }
        if (strut.bottom > 0 && root.height - strut.bottom < monitor.maxY() &&
            crosses(strut.bottomStartX, strut.bottomEndX, monitor.minX(), monitor.maxX())) {
            maxY = std::min<double>(maxY, root.height - strut.bottom);
        }
    }
    return Rect(minX, minY, std::max(0.0, maxX - minX), std::max(0.0, maxY - minY));
}

UsableAreasRead::UsableAreasRead(Display* display, const Atoms& atoms)
    : display_(display),
      atoms_(atoms),
      desktop_(display, DefaultRootWindow(display), atoms.netCurrentDesktop, XA_CARDINAL),
      supported_(display, DefaultRootWindow(display), atoms.netSupported, XA_ATOM),
      i3Socket_(display, DefaultRootWindow(display), atoms.i3SocketPath, AnyPropertyType),
      workAreas_(display, DefaultRootWindow(display), atoms.netWorkarea, XA_CARDINAL) {}

std::vector<Rect> UsableAreasRead::areas(const std::vector<Monitor>& monitors,
                                         const Size& rootSize) {
    const auto desktops = desktop_.numbers(XA_CARDINAL);
    const long desktop = desktops && !desktops->empty() ? desktops->front() : 0;
    if (auto areas = gtkWorkAreas(display_, atoms_,
                                  supported_.numbers(XA_ATOM).value_or(std::vector<long>{}),
                                  desktop, monitors.size())) {
        return *areas;
    }
    if (auto areas = i3WorkspaceAreas(i3Socket_.text(), monitors))
        return *areas;
    // The work area is the manager's word for the whole desktop and covers panels that publish
    // no strut (icewm's taskbar, fluxbox's toolbar), but it takes every dock's space from every
    // monitor. The struts tell the monitors apart; whatever the work area cuts beyond them comes
    // from a panel without a strut and applies to every monitor. Neither source is lost.
    const auto work = workArea(workAreas_.numbers(XA_CARDINAL), desktop);
    const auto struts =
        monitors.size() > 1 || !work ? dockStruts(display_, atoms_) : std::vector<Strut>{};
    const Rect desktopArea(0, 0, rootSize.width, rootSize.height);
    const Rect beyondStruts =
        work ? unexplainedCut(*work, subtractStruts(desktopArea, struts, rootSize)) : desktopArea;
    std::vector<Rect> areas;
    for (const Monitor& monitor : monitors) {
        const Rect area = subtractStruts(monitor.frame, struts, rootSize);
        areas.push_back(area.intersection(beyondStruts).value_or(area));
    }
    return areas;
}

}  // namespace tilewise::x11
