#pragma once

#include <QRegion>
#include <cstdint>
#include <memory>

namespace tilewise {

/// The least any program can do to put a grid on the screen: a clear window over the whole
/// screen, with an alpha channel like the overlay's, whose bands the server fills by itself from
/// one request, with nothing painted or sent by the program. What the screen then takes to show
/// them is what the server and the compositing manager need, whoever draws the grid.
class X11ServerDrawnGrid {
  public:
    X11ServerDrawnGrid();
    ~X11ServerDrawnGrid();
    X11ServerDrawnGrid(const X11ServerDrawnGrid&) = delete;
    X11ServerDrawnGrid& operator=(const X11ServerDrawnGrid&) = delete;

    /// False without a server or a visual with an alpha channel.
    bool isOpen() const;
    /// Fills `bands` (screen pixels) with `argb`, premultiplied, and sends it at once.
    void fill(const QRegion& bands, std::uint32_t argb);

  private:
    struct Window;
    std::unique_ptr<Window> window_;
};

}  // namespace tilewise
