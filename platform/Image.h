#pragma once

#include <cstdint>
#include <vector>

namespace tilewise {

/// A small bitmap such as an application icon: rows top to bottom, each pixel 0xAARRGGBB,
/// not premultiplied (the layout of X11's _NET_WM_ICON).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const Image&) const = default;
};

}  // namespace tilewise
