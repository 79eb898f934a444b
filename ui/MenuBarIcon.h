#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

namespace tilewise {

/// The application's icon on the panel: three tiles, the upper right one with a stroke cut
/// out of it, drawn for any size.
namespace MenuBarIcon {

/// The side of the square canvas the shapes are designed on.
inline constexpr double kCanvas = 18.0;
inline constexpr const char* kAccessibleName = "Tilewise";

/// The icon at `pixels` square: tiles filled with `ink`, ringed with `halo` so that they stand
/// out on light and dark panels alike (a transparent halo draws none).
QImage image(int pixels, const QColor& ink, const QColor& halo);
/// Dark tiles with a light halo, in the sizes trays ask for.
QIcon icon();

}  // namespace MenuBarIcon
}  // namespace tilewise
