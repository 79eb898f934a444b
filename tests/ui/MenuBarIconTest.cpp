#include "ui/MenuBarIcon.h"

#include <gtest/gtest.h>

namespace tilewise {
namespace {

constexpr int kPixels = 180;  // ten pixels per point of the design canvas

// Where a point of the design (bottom-left origin, before the drawing is shrunk about the
// centre) lands in the image.
QPoint pixelOf(double x, double y) {
    const double centre = MenuBarIcon::kCanvas / 2;
    const double scale = kPixels / MenuBarIcon::kCanvas;
    return {static_cast<int>((centre + (x - centre) * 0.85) * scale),
            static_cast<int>((MenuBarIcon::kCanvas - (centre + (y - centre) * 0.85)) * scale)};
}

struct Probe {
    const char* where;
    double x;
    double y;
    bool inked;
};

TEST(MenuBarIconTest, TilesAreInkedAndTheCutAndGapsStayClear) {
    const QImage image = MenuBarIcon::image(kPixels, Qt::black, Qt::transparent);
    // The cut's middle: the curve at t = 0.5 in the upper right tile (9, 9.25, 8 × 6.75).
    const double cutX = 9.0 + 0.53375 * 8.0;
    const double cutY = 9.25 + 0.58875 * 6.75;
    for (const Probe& probe :
         {Probe{"tall tile", 4.25, 9.0, true}, Probe{"upper right tile", 15.5, 10.5, true},
          Probe{"lower right tile", 13.0, 5.375, true}, Probe{"the cut", cutX, cutY, false},
          Probe{"between the columns", 8.25, 9.0, false},
          Probe{"below the tiles", 9.0, 1.0, false}}) {
        const QColor pixel = image.pixelColor(pixelOf(probe.x, probe.y));
        EXPECT_EQ(pixel.alpha() > 128, probe.inked) << probe.where;
    }
}

TEST(MenuBarIconTest, AHaloRingsTheTilesForDarkPanels) {
    const QImage plain = MenuBarIcon::image(kPixels, Qt::black, Qt::transparent);
    const QImage haloed = MenuBarIcon::image(kPixels, Qt::black, Qt::white);
    // Just left of the tall tile's left edge (x 1.0).
    const QPoint outside = pixelOf(0.6, 9.0);
    EXPECT_EQ(plain.pixelColor(outside).alpha(), 0);
    EXPECT_GT(haloed.pixelColor(outside).alpha(), 128);
    EXPECT_GT(haloed.pixelColor(outside).lightness(), 200);
}

}  // namespace
}  // namespace tilewise
