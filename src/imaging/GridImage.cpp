#include "imaging/GridImage.h"

#include <cstring>

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

QImage imageFromGrid(const PixelGrid& grid) {
    if (grid.isEmpty()) return {};
    QImage img(grid.width, grid.height, QImage::Format_ARGB32);
    for (int y = 0; y < grid.height; ++y)
        std::memcpy(img.scanLine(y),
                    grid.pixels.data() + static_cast<size_t>(grid.height - 1 - y) * grid.width,
                    static_cast<size_t>(grid.width) * 4);
    return img;
}

}  // namespace ms
