#pragma once

#include <QPixmap>

#include "platform/Image.h"

namespace tilewise {

/// The image as a square pixmap of `size` device-independent pixels, smoothly scaled; a null
/// pixmap for an image whose pixels do not match its size.
QPixmap pixmapFromImage(const Image& image, int size);

}  // namespace tilewise
