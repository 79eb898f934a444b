#include "ui/ImageConversion.h"

#include <QImage>

namespace tilewise {

QPixmap pixmapFromImage(const Image& image, int size) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return {};
    }
    // Image's 0xAARRGGBB words are exactly QImage's ARGB32 pixels; the copy owns its data.
    const QImage view(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                      image.height, image.width * 4, QImage::Format_ARGB32);
    return QPixmap::fromImage(
        view.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation).copy());
}

}  // namespace tilewise
