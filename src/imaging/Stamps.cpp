#include "imaging/Stamps.h"

#include <QPainter>
#include <algorithm>

#include "imaging/BlendKernels.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Rounding.h"
#include "imaging/Surface.h"

namespace ms {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The tools paint on 32-bit pictures whose words can be blended as premultiplied pixels.
void ensureBlendable(QImage& image) {
    const QImage::Format f = image.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A pixel of a 32-bit picture as a premultiplied word; other formats are read through pixel().
uint32_t wordAt(const QImage& image, int x, int y) {
    switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
        default:
            return qPremultiply(image.pixel(x, y));
    }
}

}  // namespace

AlphaMask AlphaMask::fromGridAlpha(const PixelGrid& grid) {
    AlphaMask m{grid.width, grid.height, std::vector<uint8_t>(grid.pixels.size())};
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x)
            m.alpha[static_cast<size_t>(y) * m.width + x] =
                static_cast<uint8_t>(alphaOf(grid.at(x, grid.height - 1 - y)));
    return m;
}

AlphaMask AlphaMask::fromRed(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    AlphaMask m{rgb.width(), rgb.height(),
                std::vector<uint8_t>(static_cast<size_t>(rgb.width()) * rgb.height())};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            m.alpha[static_cast<size_t>(y) * m.width + x] = static_cast<uint8_t>(redOf(row[x]));
    }
    return m;
}

AlphaMask AlphaMask::doubled() const {
    AlphaMask m = *this;
    for (uint8_t& a : m.alpha) a = static_cast<uint8_t>(std::min(2 * a, 255));
    return m;
}

QRect centredRect(QPointF at, int w, int h) {
    return {roundHalfEven(at.x() - w / 2.0), roundHalfEven(at.y() - h / 2.0), w, h};
}

void softenSquare(QImage& dst, const QImage& src, double x, double y) {
    if (src.isNull() || dst.isNull()) return;
    ensureBlendable(dst);
    const auto read = [&src](int sx, int sy) { return src.valid(sx, sy) ? wordAt(src, sx, sy) : kWhite; };
    const int yFirst = roundHalfEven(y - 5), yLast = roundHalfEven(y + 5);
    // The walk over columns restarts at 1 when it would start left of it, and keeps its step.
    for (double px = x - 5; px <= x + 5; px += 1) {
        if (px < 1) px = 1;
        const int cols[3] = {roundHalfEven(px - 1), roundHalfEven(px), roundHalfEven(px + 1)};
        const int wx = cols[1];
        for (int py = yFirst; py <= yLast; ++py) {
            if (py < 1) py = 1;
            int sum[3] = {0, 0, 0};
            for (int row = py - 1; row <= py + 1; ++row)
                for (int col : cols) {
                    const uint32_t p = read(col, row);
                    sum[0] += redOf(p), sum[1] += greenOf(p), sum[2] += blueOf(p);
                }
            if (dst.valid(wx, py))
                reinterpret_cast<uint32_t*>(dst.scanLine(py))[wx] =
                    pixelBGRA(sum[2] / 9, sum[1] / 9, sum[0] / 9, 255);
        }
    }
}

void stampArea(QImage& dst, QPoint to, const QImage& src, QPoint from, const AlphaMask& mask) {
    if (mask.isEmpty() || src.isNull() || dst.isNull()) return;
    const QRect area = QRect(from, QSize(mask.width, mask.height)) & src.rect();
    if (area.isEmpty()) return;
    // Read first: the source may be the destination.
    std::vector<uint32_t> patch(static_cast<size_t>(area.width()) * area.height());
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            patch[static_cast<size_t>(y) * area.width() + x] = wordAt(src, area.left() + x, area.top() + y);
    ensureBlendable(dst);
    const QPoint shift = to - from;  // source position + shift = destination position
    const QRect target = area.translated(shift) & dst.rect();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(dst.scanLine(y));
        const int sy = y - shift.y();
        for (int x = target.left(); x <= target.right(); ++x) {
            const int sx = x - shift.x();
            const uint32_t a = mask.at(sx - from.x(), sy - from.y());
            // The source pixel with the mask's alpha, premultiplied, then over the destination.
            const uint32_t s =
                patch[static_cast<size_t>(sy - area.top()) * area.width() + (sx - area.left())];
            kernels::store(row[x], premultiplied((s & 0x00FFFFFFu) | a << 24));
        }
    }
}

void stampColour(QImage& dst, const QRect& to, const AlphaMask& mask, int32_t colour) {
    if (mask.isEmpty() || dst.isNull()) return;
    QImage brush(mask.width, mask.height, QImage::Format_ARGB32_Premultiplied);
    const uint32_t rgb = pixelFromColourValue(colour, 0);
    for (int y = 0; y < mask.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(brush.scanLine(y));
        for (int x = 0; x < mask.width; ++x) row[x] = premultiplied(rgb | uint32_t(mask.at(x, y)) << 24);
    }
    ensureBlendable(dst);
    blendOver(dst, to, Surface(std::move(brush)), QRect(0, 0, mask.width, mask.height));
}

void drawLine(QImage& dst, QPointF a, QPointF b, int32_t colour, int width) {
    if (dst.isNull()) return;
    ensureBlendable(dst);
    QPainter p(&dst);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF), std::max(width, 1),
                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // A canvas position names a pixel; its centre is half a pixel further on.
    const QPointF centre(0.5, 0.5);
    if (a == b)
        p.drawPoint(a + centre);
    else
        p.drawLine(a + centre, b + centre);
}

}  // namespace ms
