// Renders the application icon's PNG sizes at build time from the status item's own drawing, so
// the menu entry's icon and the tray icon cannot drift apart: the tiles in white on a rounded
// blue square, the same composition as the scalable icons/<id>.svg.
//
//   tilewise_render_application_icon PIXELS OUTPUT.png
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <iostream>
#include <string>

#include "ui/MenuBarIcon.h"

namespace {

const QColor kBackground{0x2f, 0x6d, 0xb5};
// The rounded square's corner radius as a share of its side (3.6 on the 18-unit canvas).
constexpr double kCornerShare = 3.6 / tilewise::MenuBarIcon::kCanvas;

QImage applicationIcon(int pixels) {
    QImage icon{pixels, pixels, QImage::Format_ARGB32_Premultiplied};
    icon.fill(Qt::transparent);
    QPainter painter{&icon};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBackground);
    const double radius = kCornerShare * pixels;
    painter.drawRoundedRect(QRectF{0, 0, double(pixels), double(pixels)}, radius, radius);
    painter.drawImage(0, 0, tilewise::MenuBarIcon::image(pixels, Qt::white, Qt::transparent));
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    const int pixels = argc == 3 ? std::atoi(argv[1]) : 0;
    if (pixels < 1 || pixels > 4096) {
        std::cerr << "usage: tilewise_render_application_icon PIXELS OUTPUT.png\n";
        return 2;
    }
    if (!applicationIcon(pixels).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "tilewise_render_application_icon: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
