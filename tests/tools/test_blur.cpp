// The generator's blur against a plain reference: three clamped box passes each way over every
// pixel. The generator's own passes skip the transparent margins and divide by multiplication, so
// any slip at the margins, the canvas edges or in the rounding shows here as a differing pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Draw.h"

namespace {

QImage referenceBlur(QImage img, int radius) {
    const int w = img.width(), h = img.height(), r = std::max(1, radius / 2), div = 2 * r + 1;
    const auto pass = [&](bool rows) {
        const QImage src = img.copy();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum[4] = {0, 0, 0, 0};
                for (int k = -r; k <= r; ++k) {
                    const int sx = rows ? std::clamp(x + k, 0, w - 1) : x;
                    const int sy = rows ? y : std::clamp(y + k, 0, h - 1);
                    const uint32_t v = reinterpret_cast<const uint32_t*>(src.constScanLine(sy))[sx];
                    for (int ch = 0; ch < 4; ++ch) sum[ch] += v >> (8 * ch) & 0xFF;
                }
                uint32_t out = 0;
                for (int ch = 0; ch < 4; ++ch)
                    out |= static_cast<uint32_t>((sum[ch] + div / 2) / div) << (8 * ch);
                reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = out;
            }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    return img;
}

// Premultiplied noise in the given rectangle of an otherwise transparent layer.
QImage noiseLayer(int w, int h, QRect where, uint32_t seed) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int a = static_cast<int>(seed >> 24);
            const int c = a * static_cast<int>(seed >> 16 & 0xFF) / 255;
            reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = qRgba(c, c / 2, a - c / 3, a);
        }
    return img;
}

TEST(GeneratorBlur, MatchesThePlainBoxPassesAtMarginsEdgesAndEveryRadius) {
    struct Case {
        const char* what;
        QRect where;
        int radius;
    };
    const Case cases[] = {
        {"a small drawing in the middle", QRect(40, 30, 9, 6), 6},
        {"a single pixel, smallest radius", QRect(50, 40, 1, 1), 1},
        {"touching the left and top edges", QRect(0, 0, 12, 10), 8},
        {"touching the right and bottom edges", QRect(70, 55, 20, 15), 8},
        {"a radius wider than the layer", QRect(30, 20, 5, 5), 130},
        {"the whole layer", QRect(0, 0, 90, 70), 5},
        {"nothing drawn", QRect(), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage in = noiseLayer(90, 70, c.where, 7u + static_cast<uint32_t>(c.radius));
        QImage blurred = in;
        installdata::blurLayer(blurred, c.radius);
        const QImage expected = referenceBlur(in, c.radius);
        int differing = 0;
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 90; ++x) differing += blurred.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
