#include "imaging/GridImage.h"

#include <cstring>

#include "imaging/PixelHelpers.h"

namespace ms {

PixelGrid gridFromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage src =
        image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    PixelGrid grid(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(grid.pixels.data() + static_cast<size_t>(src.height() - 1 - y) * grid.width,
                    src.constScanLine(y), static_cast<size_t>(src.width()) * 4);
    return grid;
}

QImage imageFromGrid(const PixelGrid& grid, GridAlpha alpha) {
    if (grid.isEmpty()) return {};
    QImage img(grid.width, grid.height,
               alpha == GridAlpha::Straight ? QImage::Format_ARGB32 : QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grid.height; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(img.scanLine(grid.height - 1 - y));
        const uint32_t* in = grid.pixels.data() + static_cast<size_t>(y) * grid.width;
        if (alpha == GridAlpha::Premultiply)
            for (int x = 0; x < grid.width; ++x) out[x] = premultiplied(in[x]);
        else
            std::memcpy(out, in, static_cast<size_t>(grid.width) * 4);
    }
    return img;
}

}  // namespace ms
