#include "imaging/Surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/BlendKernels.h"
#include "imaging/GridImage.h"

namespace ms {

namespace {

bool prepareRects(const QImage& dst, const QRect& dstRect, const QImage& src, const QRect& srcRect,
                  QRect& clip) {
    if (dstRect.width() <= 0 || dstRect.height() <= 0) return false;
    if (src.isNull() || srcRect.width() <= 0 || srcRect.height() <= 0) return false;
    if (!src.rect().contains(srcRect)) return false;
    clip = dstRect & dst.rect();
    return true;
}

// Source columns of each destination column: the left sample, the right sample and the weight of
// the right one, sampling at pixel centres and clamping at the source rectangle's edges.
struct AxisMap {
    std::vector<int> lo, hi;
    std::vector<uint32_t> w;
    std::vector<uint64_t> w4;  // w repeated in four 16-bit lanes
    std::vector<int> nearest;  // the source column nearest to the sample point
    void build(int dstStart, int dstLen, int clipStart, int clipLen, int srcStart, int srcLen) {
        lo.resize(clipLen), hi.resize(clipLen), w.resize(clipLen), w4.resize(clipLen),
            nearest.resize(clipLen);
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
            w4[i] = f * 0x0001000100010001ull;
            nearest[i] = srcStart + std::clamp(static_cast<int>((u + (1 << 15)) >> 16), 0, srcLen - 1);
        }
    }
};

// Destination columns [first, last) whose nearest source column lies in [a, b).
inline void columnsNearest(const AxisMap& m, int a, int b, int& first, int& last) {
    first = static_cast<int>(std::lower_bound(m.nearest.begin(), m.nearest.end(), a) - m.nearest.begin());
    last = static_cast<int>(std::lower_bound(m.nearest.begin(), m.nearest.end(), b) - m.nearest.begin());
}

// Destination columns [first, last) whose samples touch source columns [a, b).
inline void columnsTouching(const AxisMap& m, int a, int b, int& first, int& last) {
    first = static_cast<int>(std::lower_bound(m.hi.begin(), m.hi.end(), a) - m.hi.begin());
    last = static_cast<int>(std::lower_bound(m.lo.begin(), m.lo.end(), b) - m.lo.begin());
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

// One layer of a blend: the rectangles checked and the sampling maps built once, then drawn row
// by row.
class BlendJob {
  public:
    bool prepare(const QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect,
                 const BlendKernels& kernels) {
        if (!prepareRects(dst, dstRect, src.image(), srcRect, clip_)) return false;
        k_ = &kernels;
        src_ = &src;
        srcRect_ = srcRect;
        stretched_ = dstRect.size() != srcRect.size();
        // A rectangle drawn one pixel wider or narrower (the right eyebrow, the right earring and
        // the hat are) is sampled at the nearest pixel: bilinear at so near 1:1 would only smear
        // the whole layer by a varying sub-pixel shift.
        nearest_ = std::abs(dstRect.width() - srcRect.width()) <= 1 &&
                   std::abs(dstRect.height() - srcRect.height()) <= 1;
        offX_ = srcRect.x() - dstRect.x();
        offY_ = srcRect.y() - dstRect.y();
        sbits_ = src.image().constBits();
        sstride_ = src.image().bytesPerLine();
        if (stretched_ && !clip_.isEmpty()) {
            mx_.build(dstRect.x(), dstRect.width(), clip_.x(), clip_.width(), srcRect.x(), srcRect.width());
            my_.build(dstRect.y(), dstRect.height(), clip_.y(), clip_.height(), srcRect.y(),
                      srcRect.height());
            mixed_.assign(static_cast<size_t>(src.width()) + 1, 0);
        }
        return true;
    }
    const QRect& clip() const { return clip_; }
    void row(int dy, uint32_t* drow) {
        if (!stretched_)
            plainRow(dy, drow);
        else if (nearest_)
            nearestRow(dy, drow);
        else
            stretchedRow(dy, drow);
    }

  private:
    const uint32_t* srcRow(int y) const { return reinterpret_cast<const uint32_t*>(sbits_ + y * sstride_); }

    void plainRow(int dy, uint32_t* drow) const {
        const SpanIndex& idx = src_->spans();
        const int sy = dy + offY_;
        const int sx0 = clip_.left() + offX_, sx1 = clip_.right() + 1 + offX_;
        const uint32_t* srow = srcRow(sy);
        for (uint32_t k = idx.rowStart[sy]; k < idx.rowStart[sy + 1]; ++k) {
            const SpanIndex::Span& sp = idx.spans[k];
            const int a = std::max<int>(sp.x0, sx0), b = std::min<int>(sp.x1, sx1);
            if (a >= b) continue;
            if (sp.opaque)
                std::memcpy(drow + a - offX_, srow + a, static_cast<size_t>(b - a) * 4);
            else
                k_->blendRun(drow + a - offX_, srow + a, b - a);
        }
    }

    // Nearest sampling, as runs of consecutive source columns blended like an unstretched row.
    void nearestRow(int dy, uint32_t* drow) const {
        const SpanIndex& idx = src_->spans();
        const int sy = my_.nearest[dy - clip_.y()];
        const uint32_t* srow = srcRow(sy);
        const int* col = mx_.nearest.data();
        uint32_t* out = drow + clip_.x();
        for (uint32_t k = idx.rowStart[sy]; k < idx.rowStart[sy + 1]; ++k) {
            const SpanIndex::Span& sp = idx.spans[k];
            int first, last;
            columnsNearest(mx_, sp.x0, sp.x1, first, last);
            for (int i = first; i < last;) {
                int j = i + 1;
                while (j < last && col[j] == col[j - 1] + 1) ++j;
                if (sp.opaque)
                    std::memcpy(out + i, srow + col[i], static_cast<size_t>(j - i) * 4);
                else
                    k_->blendRun(out + i, srow + col[i], j - i);
                i = j;
            }
        }
    }

    // Bilinear: each needed stretch of the two source rows is first mixed vertically into one
    // row, then resampled horizontally and blended. Only columns under visible spans are touched.
    void stretchedRow(int dy, uint32_t* drow) {
        const int j = dy - clip_.y();
        const int y0 = my_.lo[j], y1 = my_.hi[j];
        const uint32_t wy = my_.w[j];
        const uint32_t *r0 = srcRow(y0), *r1 = srcRow(y1);
        const int sxa = srcRect_.left(), sxb = srcRect_.right() + 1;
        uint32_t* out = drow + clip_.x();
        forEachUnionSpan(src_->spans(), y0, wy ? y1 : y0, [&](int a, int b) {
            a = std::max(a, sxa), b = std::min(b, sxb);
            if (a >= b) return;
            int first, last;
            columnsTouching(mx_, a, b, first, last);
            if (first >= last) return;
            const uint32_t* row = r0;  // no vertical weight: the first row as it is
            if (wy) {
                // Samples just outside the span are transparent in both rows.
                if (a > sxa) mixed_[a - 1] = 0;
                if (b < sxb) mixed_[b] = 0;
                k_->lerpRows(mixed_.data() + a, r0 + a, r1 + a, wy, b - a);
                row = mixed_.data();
            }
            k_->blendResampled(out + first, row, mx_.lo.data() + first, mx_.hi.data() + first,
                               mx_.w.data() + first, mx_.w4.data() + first, last - first);
        });
    }

    const BlendKernels* k_ = nullptr;
    const Surface* src_ = nullptr;
    QRect srcRect_, clip_;
    bool stretched_ = false, nearest_ = false;
    int offX_ = 0, offY_ = 0;
    const uchar* sbits_ = nullptr;
    qsizetype sstride_ = 0;
    AxisMap mx_, my_;
    std::vector<uint32_t> mixed_;
};

}  // namespace

namespace {

// Appends the spans of row y. A span is a maximal run of non-transparent pixels; it is marked
// opaque, and then copied rather than blended, only when every pixel of it is opaque.
void appendRowSpans(const QImage& image, int y, std::vector<SpanIndex::Span>& out) {
    const int w = image.width();
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    int x = 0;
    while (x < w) {
        while (x < w && row[x] == 0) ++x;
        if (x >= w) break;
        const int start = x;
        bool opaque = true;
        while (x < w && row[x] != 0) opaque &= row[x] >= 0xFF000000u, ++x;
        out.push_back({static_cast<int16_t>(start), static_cast<int16_t>(x), opaque});
    }
}

}  // namespace

void SpanIndex::build(const QImage& image) {
    spans.clear();
    rowStart.assign(static_cast<size_t>(image.height()) + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        rowStart[y] = static_cast<uint32_t>(spans.size());
        appendRowSpans(image, y, spans);
    }
    rowStart[image.height()] = static_cast<uint32_t>(spans.size());
}

void SpanIndex::rebuildRows(const QImage& image, int y0, int y1) {
    if (rowStart.size() != static_cast<size_t>(image.height()) + 1) return build(image);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, image.height() - 1);
    if (y0 > y1) return;
    std::vector<Span> fresh;
    std::vector<uint32_t> starts;
    for (int y = y0; y <= y1; ++y) {
        starts.push_back(static_cast<uint32_t>(fresh.size()));
        appendRowSpans(image, y, fresh);
    }
    const uint32_t first = rowStart[y0], end = rowStart[y1 + 1];
    spans.erase(spans.begin() + first, spans.begin() + end);
    spans.insert(spans.begin() + first, fresh.begin(), fresh.end());
    for (int y = y0; y <= y1; ++y) rowStart[y] = first + starts[static_cast<size_t>(y - y0)];
    const int64_t delta = static_cast<int64_t>(fresh.size()) - (end - first);
    for (size_t y = static_cast<size_t>(y1) + 1; y < rowStart.size(); ++y)
        rowStart[y] = static_cast<uint32_t>(rowStart[y] + delta);
}

Surface Surface::fromGrid(const PixelGrid& grid) {
    return Surface(imageFromGrid(grid, GridAlpha::Premultiply));
}

Surface Surface::fromPremultipliedGrid(const PixelGrid& grid) {
    return Surface(imageFromGrid(grid, GridAlpha::Premultiplied));
}

void Surface::setImage(QImage image) {
    if (!image.isNull() && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image_ = std::move(image);
    spans_.build(image_);
}

const BlendKernels& sse2BlendKernels() {
    static const BlendKernels k{"SSE2", kernels::blendRun, kernels::lerpRows, kernels::blendResampled};
    return k;
}

const BlendKernels* avx2BlendKernels() {
#if defined(__x86_64__)
    static const BlendKernels k{"AVX2", kernels::blendRunAvx2, kernels::lerpRowsAvx2,
                                kernels::blendResampledAvx2};
    if (__builtin_cpu_supports("avx2")) return &k;
#endif
    return nullptr;
}

const BlendKernels& bestBlendKernels() {
    static const BlendKernels& best = avx2BlendKernels() ? *avx2BlendKernels() : sse2BlendKernels();
    return best;
}

bool blendOver(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect,
               const BlendKernels& kernels) {
    BlendJob job;
    if (!job.prepare(dst, dstRect, src, srcRect, kernels)) return false;
    if (job.clip().isEmpty()) return true;
    uchar* bits = dst.bits();
    const qsizetype stride = dst.bytesPerLine();
    for (int y = job.clip().top(); y <= job.clip().bottom(); ++y)
        job.row(y, reinterpret_cast<uint32_t*>(bits + y * stride));
    return true;
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
