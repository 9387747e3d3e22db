#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

namespace ms {

namespace {

// x * f / 255 rounded to nearest, for two 8-bit lanes (bits 0-7 and 16-23) at once; f in 0 .. 255.
inline uint32_t mulDiv255Lanes(uint32_t lanes, uint32_t f) {
    uint32_t t = lanes * f + 0x00800080u;
    return ((t + (t >> 8 & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// d = s + d * (255 - sa) / 255 on premultiplied pixels.
inline uint32_t over(uint32_t s, uint32_t d) {
    const uint32_t ia = 255 - (s >> 24);
    return s + (mulDiv255Lanes(d & 0x00FF00FFu, ia) | mulDiv255Lanes(d >> 8 & 0x00FF00FFu, ia) << 8);
}

inline void blendRun(uint32_t* d, const uint32_t* s, int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t sp = s[i];
        if (sp >= 0xFF000000u)
            d[i] = sp;
        else if (sp != 0)
            d[i] = over(sp, d[i]);
    }
}

// Linear interpolation of two pixels with an 8-bit weight w (0 .. 256) for b.
inline uint32_t lerp(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t iw = 256 - w;
    const uint32_t rb = ((a & 0x00FF00FFu) * iw + (b & 0x00FF00FFu) * w) >> 8 & 0x00FF00FFu;
    const uint32_t ag = ((a >> 8 & 0x00FF00FFu) * iw + (b >> 8 & 0x00FF00FFu) * w) & 0xFF00FF00u;
    return rb | ag;
}

bool prepareRects(const QImage& dst, const QRect& dstRect, const QImage& src, const QRect& srcRect,
                  QRect& clip) {
    if (dstRect.width() <= 0 || dstRect.height() <= 0) return false;
    if (src.isNull() || srcRect.width() <= 0 || srcRect.height() <= 0) return false;
    if (!src.rect().contains(srcRect)) return false;
    clip = dstRect & dst.rect();
    return true;
}

bool blendUnstretched(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect,
                      const QRect& clip) {
    const int offX = srcRect.x() - dstRect.x(), offY = srcRect.y() - dstRect.y();
    const SpanIndex& idx = src.spans();
    const int sx0 = clip.left() + offX, sx1 = clip.right() + 1 + offX;
    for (int dy = clip.top(); dy <= clip.bottom(); ++dy) {
        const int sy = dy + offY;
        auto* drow = reinterpret_cast<uint32_t*>(dst.scanLine(dy));
        const auto* srow = reinterpret_cast<const uint32_t*>(src.image().constScanLine(sy));
        for (uint32_t k = idx.rowStart[sy]; k < idx.rowStart[sy + 1]; ++k) {
            const SpanIndex::Span& sp = idx.spans[k];
            const int a = std::max<int>(sp.x0, sx0), b = std::min<int>(sp.x1, sx1);
            if (a >= b) continue;
            if (sp.opaque)
                std::memcpy(drow + a - offX, srow + a, static_cast<size_t>(b - a) * 4);
            else
                blendRun(drow + a - offX, srow + a, b - a);
        }
    }
    return true;
}

// Source columns of each destination column: the left sample, the right sample and the weight of
// the right one, sampling at pixel centres and clamping at the source rectangle's edges.
struct AxisMap {
    std::vector<int> lo, hi;
    std::vector<uint32_t> w;
    void build(int dstStart, int dstLen, int clipStart, int clipLen, int srcStart, int srcLen) {
        lo.resize(clipLen), hi.resize(clipLen), w.resize(clipLen);
        const int64_t scale = (static_cast<int64_t>(srcLen) << 16) / dstLen;  // 16.16 source step
        for (int i = 0; i < clipLen; ++i) {
            const int d = clipStart + i - dstStart;
            int64_t u = (2 * d + 1) * scale / 2 - (1 << 15);  // centre-to-centre, 16.16
            int a = static_cast<int>(u >> 16);
            uint32_t f = static_cast<uint32_t>(u >> 8 & 0xFF);
            if (u < 0) a = 0, f = 0;
            if (a >= srcLen - 1) a = srcLen - 1, f = 0;
            lo[i] = srcStart + a;
            hi[i] = srcStart + std::min(a + 1, srcLen - 1);
            w[i] = f;
        }
    }
};

// Destination columns [first, last) whose samples touch source columns [a, b).
inline void columnsTouching(const AxisMap& m, int a, int b, int& first, int& last) {
    first = static_cast<int>(std::lower_bound(m.hi.begin(), m.hi.end(), a) - m.hi.begin());
    last = static_cast<int>(std::lower_bound(m.lo.begin(), m.lo.end(), b) - m.lo.begin());
}

void blendStretchedRow(uint32_t* drow, const uint32_t* r0, const uint32_t* r1, uint32_t wy, const AxisMap& mx,
                       int first, int last) {
    for (int i = first; i < last; ++i) {
        const uint32_t top = lerp(r0[mx.lo[i]], r0[mx.hi[i]], mx.w[i]);
        const uint32_t bottom = lerp(r1[mx.lo[i]], r1[mx.hi[i]], mx.w[i]);
        const uint32_t s = wy ? lerp(top, bottom, wy) : top;
        if (s >= 0xFF000000u)
            drow[i] = s;
        else if (s != 0)
            drow[i] = over(s, drow[i]);
    }
}

// Union of the non-transparent spans of two source rows, walked in x order.
template <typename F>
void forEachUnionSpan(const SpanIndex& idx, int y0, int y1, F&& f) {
    uint32_t i = idx.rowStart[y0], ie = idx.rowStart[y0 + 1];
    uint32_t j = idx.rowStart[y1], je = idx.rowStart[y1 + 1];
    if (y0 == y1) j = je;
    int curA = 0, curB = -1;
    while (i < ie || j < je) {
        const SpanIndex::Span* sp;
        if (j >= je || (i < ie && idx.spans[i].x0 <= idx.spans[j].x0))
            sp = &idx.spans[i++];
        else
            sp = &idx.spans[j++];
        if (curB >= 0 && sp->x0 <= curB) {
            curB = std::max<int>(curB, sp->x1);
        } else {
            if (curB >= 0) f(curA, curB);
            curA = sp->x0, curB = sp->x1;
        }
    }
    if (curB >= 0) f(curA, curB);
}

bool blendStretched(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect,
                    const QRect& clip) {
    AxisMap mx, my;
    mx.build(dstRect.x(), dstRect.width(), clip.x(), clip.width(), srcRect.x(), srcRect.width());
    my.build(dstRect.y(), dstRect.height(), clip.y(), clip.height(), srcRect.y(), srcRect.height());
    const SpanIndex& idx = src.spans();
    const int sxa = srcRect.left(), sxb = srcRect.right() + 1;
    for (int j = 0; j < clip.height(); ++j) {
        const int y0 = my.lo[j], y1 = my.hi[j];
        auto* drow = reinterpret_cast<uint32_t*>(dst.scanLine(clip.y() + j)) + clip.x();
        const auto* r0 = reinterpret_cast<const uint32_t*>(src.image().constScanLine(y0));
        const auto* r1 = reinterpret_cast<const uint32_t*>(src.image().constScanLine(y1));
        const uint32_t wy = my.w[j];
        forEachUnionSpan(idx, y0, wy ? y1 : y0, [&](int a, int b) {
            a = std::max(a, sxa), b = std::min(b, sxb);
            if (a >= b) return;
            int first, last;
            columnsTouching(mx, a, b, first, last);
            blendStretchedRow(drow, r0, r1, wy, mx, first, last);
        });
    }
    return true;
}

}  // namespace

void SpanIndex::build(const QImage& image) {
    spans.clear();
    rowStart.assign(static_cast<size_t>(image.height()) + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        rowStart[y] = static_cast<uint32_t>(spans.size());
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        int x = 0;
        const int w = image.width();
        while (x < w) {
            while (x < w && row[x] == 0) ++x;
            if (x >= w) break;
            const bool opaque = row[x] >= 0xFF000000u;
            const int start = x;
            while (x < w && row[x] != 0 && (row[x] >= 0xFF000000u) == opaque) ++x;
            spans.push_back({static_cast<int16_t>(start), static_cast<int16_t>(x), opaque});
        }
    }
    rowStart[image.height()] = static_cast<uint32_t>(spans.size());
}

Surface Surface::fromGrid(const PixelGrid& grid, bool premultiplied) {
    if (grid.isEmpty()) return {};
    QImage img(grid.width, grid.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grid.height; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(img.scanLine(grid.height - 1 - y));
        const uint32_t* in = grid.pixels.data() + static_cast<size_t>(y) * grid.width;
        if (premultiplied) {
            std::memcpy(out, in, static_cast<size_t>(grid.width) * 4);
            continue;
        }
        for (int x = 0; x < grid.width; ++x) {
            const uint32_t p = in[x], a = p >> 24;
            if (a == 255 || a == 0) {
                out[x] = a ? p : 0;
                continue;
            }
            out[x] = a << 24 | ((p >> 16 & 0xFF) * a + 127) / 255 << 16 |
                     ((p >> 8 & 0xFF) * a + 127) / 255 << 8 | ((p & 0xFF) * a + 127) / 255;
        }
    }
    return Surface(std::move(img));
}

void Surface::setImage(QImage image) {
    if (!image.isNull() && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image_ = std::move(image);
    spans_.build(image_);
}

bool blendOver(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect) {
    QRect clip;
    if (!prepareRects(dst, dstRect, src.image(), srcRect, clip)) return false;
    if (clip.isEmpty()) return true;
    if (dstRect.size() == srcRect.size()) return blendUnstretched(dst, dstRect, src, srcRect, clip);
    return blendStretched(dst, dstRect, src, srcRect, clip);
}

bool blendOverReference(QImage& dst, const QRect& dstRect, const QImage& src, const QRect& srcRect) {
    QRect clip;
    if (!prepareRects(dst, dstRect, src, srcRect, clip) || dstRect.size() != srcRect.size()) return false;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        for (int x = clip.left(); x <= clip.right(); ++x) {
            // Raw premultiplied words: QImage::pixel() would un-premultiply.
            const uint32_t sp = reinterpret_cast<const uint32_t*>(
                src.constScanLine(y - dstRect.y() + srcRect.y()))[x - dstRect.x() + srcRect.x()];
            auto* d = reinterpret_cast<uint32_t*>(dst.scanLine(y)) + x;
            const uint32_t ia = 255 - (sp >> 24);
            auto ch = [&](uint32_t sc, uint32_t dc) { return sc + (dc * ia + 127) / 255; };
            *d = static_cast<uint32_t>(ch(sp >> 24, *d >> 24)) << 24 |
                 static_cast<uint32_t>(ch(sp >> 16 & 0xFF, *d >> 16 & 0xFF)) << 16 |
                 static_cast<uint32_t>(ch(sp >> 8 & 0xFF, *d >> 8 & 0xFF)) << 8 |
                 static_cast<uint32_t>(ch(sp & 0xFF, *d & 0xFF));
        }
    }
    return true;
}

bool copyOpaque(QImage& dst, const QImage& src) {
    if (src.isNull() || dst.isNull()) return false;
    const QImage s = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(s.width(), dst.width()), h = std::min(s.height(), dst.height());
    for (int y = 0; y < h; ++y) std::memcpy(dst.scanLine(y), s.constScanLine(y), static_cast<size_t>(w) * 4);
    return true;
}

}  // namespace ms
