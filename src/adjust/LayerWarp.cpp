#include "adjust/LayerWarp.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "imaging/Rounding.h"

namespace ms {

namespace {

// The constants of the warp family, per kind. cy = 0 stands for the height of the grid.
struct WarpFamily {
    Kind kind;
    double cx, cy;
};
constexpr std::array<WarpFamily, 4> kFamily{{
    {Kind::faxing, 0, 0},
    {Kind::meimao, 100, 199},
    {Kind::zuixing, 140, 320},
    {Kind::fuzhuang, 0, 490},
}};

const WarpFamily* familyOf(Kind k) {
    const auto it =
        std::find_if(kFamily.begin(), kFamily.end(), [k](const WarpFamily& f) { return f.kind == k; });
    return it == kFamily.end() ? nullptr : &*it;
}

// One pixel looked up at (u, v) between four grid pixels, per channel:
//   left  = (1 - fy) p00 + fy p01
//   right = round((1 - fy) p10 + fy p11)
//   out   = round(fx right + (1 - fx) left)
// with fy in single precision. The lookup cell stays inside the grid: a source on the last column
// or row takes that column or row itself (fx or fy = 1).
uint32_t lookUp(const PixelGrid& m, double u, double v) {
    u = std::clamp(u, 0.0, double(m.width - 1));
    v = std::clamp(v, 0.0, double(m.height - 1));
    const int x0 = std::min(static_cast<int>(u), std::max(m.width - 2, 0));
    const int y0 = std::min(static_cast<int>(v), std::max(m.height - 2, 0));
    const int dx = x0 + 1 < m.width ? 1 : 0;
    const uint32_t* row0 = m.pixels.data() + static_cast<size_t>(y0) * m.width + x0;
    const uint32_t* row1 = y0 + 1 < m.height ? row0 + m.width : row0;
    const double fx = u - x0;
    const float fy = static_cast<float>(v - y0);
    // The four channels side by side (B, G, R, A), each computed as one scalar would: single
    // precision for the rows, double for the columns, conversions rounding to nearest even.
    const __m128i zero = _mm_setzero_si128();
    const auto channels = [zero](uint32_t p) {
        const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(p));
        return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
    };
    const __m128 vfy = _mm_set1_ps(fy), vgy = _mm_set1_ps(1 - fy);
    const __m128 left = _mm_add_ps(_mm_mul_ps(vgy, channels(row0[0])), _mm_mul_ps(vfy, channels(row1[0])));
    const __m128 right = _mm_cvtepi32_ps(_mm_cvtps_epi32(
        _mm_add_ps(_mm_mul_ps(vgy, channels(row0[dx])), _mm_mul_ps(vfy, channels(row1[dx])))));
    const __m128d vfx = _mm_set1_pd(fx), vgx = _mm_set1_pd(1 - fx);
    const auto column = [vfx, vgx](__m128 r, __m128 l) {
        return _mm_cvtpd_epi32(
            _mm_add_pd(_mm_mul_pd(vfx, _mm_cvtps_pd(r)), _mm_mul_pd(vgx, _mm_cvtps_pd(l))));
    };
    const __m128i low = column(right, left),
                  high = column(_mm_movehl_ps(right, right), _mm_movehl_ps(left, left));
    const __m128i words = _mm_packs_epi32(_mm_unpacklo_epi64(low, high), zero);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, zero)));
}

double layerHeightOrigin(const WarpFamily& f, int gridHeight) {
    return f.cy == 0 ? double(gridHeight) : f.cy;
}

int warpRadius(const StudioState& s, Kind k) {
    const ToolState& t = s.session.tools;
    return 5 * std::clamp(k == Kind::faxing ? t.hairWarpSize : t.libraryWarpSize, 1, 20);
}

}  // namespace

void warpGrid(PixelGrid& grid, PixelGrid& backup, WarpOrigin origin, int radius, QPointF start, QPointF end) {
    if (grid.isEmpty() || radius <= 0) return;
    const double c0 = start.x() - origin.cx, r0 = origin.cy - start.y();
    const double dx = start.x() - end.x(), dy = end.y() - start.y();
    const int iFrom = std::max(roundHalfEven(c0 - radius), 0),
              iTo = std::min(roundHalfEven(c0 + radius), grid.width - 1);
    const int jFrom = std::max(roundHalfEven(r0 - radius), 0),
              jTo = std::min(roundHalfEven(r0 + radius), grid.height - 1);
    if (iFrom > iTo || jFrom > jTo) return;
    // Every lookup reads the grid as it was before this drag.
    const int w = iTo - iFrom + 1;
    std::vector<uint32_t> square(static_cast<size_t>(w) * static_cast<size_t>(jTo - jFrom + 1));
    for (int j = jFrom; j <= jTo; ++j) {
        const double dj2 = (j - r0) * (j - r0);
        uint32_t* out = square.data() + static_cast<size_t>(j - jFrom) * w - iFrom;
        for (int i = iFrom; i <= iTo; ++i) {
            const double d = std::sqrt((i - c0) * (i - c0) + dj2);
            if (d >= radius) {
                out[i] = grid.at(i, j);
                continue;
            }
            const double weight = (radius - d) / radius * ((radius - d) / radius);
            out[i] = lookUp(grid, i + 0.5 * weight * dx, j + 0.5 * weight * dy);
        }
    }
    for (int j = jFrom; j <= jTo; ++j)
        std::copy_n(square.begin() + static_cast<ptrdiff_t>(j - jFrom) * w, w,
                    grid.pixels.begin() + static_cast<ptrdiff_t>(j) * grid.width + iFrom);
    backup = grid;
}

// The library's one warpable kind (of the accessories, the clothing).
std::optional<Kind> warpKindOf(LibraryKind library) {
    for (const KindInfo& k : kindTable())
        if (k.warpable && k.library == library && library != LibraryKind::None) return k.kind;
    return std::nullopt;
}

std::optional<QPointF> warpInput(const StudioState& s, LibraryKind library, QPointF c) {
    const auto k = warpKindOf(library);
    if (!k) return std::nullopt;
    const KindInfo& info = kindInfo(*k);
    const LayerGeometry& g = s.doc.design.geometry;
    // Of a pair, the member whose placement is nearer across (the one under the pointer).
    Placement p = redrawPlacement(info.layers()[0], g, s.doc.design.hairHeight);
    if (info.layers().size() == 2) {
        const Placement other = redrawPlacement(info.layers()[1], g, s.doc.design.hairHeight);
        const auto across = [&c](const QRect& r) {
            return std::max({0.0, r.left() - c.x(), c.x() - (r.left() + r.width())});
        };
        if (across(other.dst) < across(p.dst)) p = other;
    }
    const PixelGrid& grid = s.doc.grids.*info.grid;
    const int height = grid.isEmpty() ? info.size.height() : grid.height;
    const auto at = canvasToGridF(p, height, c);
    if (!at) return std::nullopt;
    const WarpFamily& f = *familyOf(*k);
    return QPointF(at->x() + f.cx, layerHeightOrigin(f, height) - at->y());
}

void chooseWarpTool(StudioState& s) {
    s.session.tools.mode = ToolMode::warp;
    s.session.tools.locked = false;
}

void setLibraryWarpSize(StudioState& s, int size) {
    ToolState& t = s.session.tools;
    t.libraryWarpSize = std::clamp(size, 1, 20);
    t.sizeOutlines(5 * t.libraryWarpSize);
}

bool warpLayer(StudioState& s, Kind k) {
    const WarpFamily* f = familyOf(k);
    if (!f) return false;
    const KindInfo& info = kindInfo(k);
    PixelGrid& grid = s.doc.grids.*info.grid;
    if (grid.isEmpty()) return false;
    const ToolState& t = s.session.tools;
    warpGrid(grid, s.doc.grids.*info.backup, WarpOrigin{f->cx, layerHeightOrigin(*f, grid.height)},
             warpRadius(s, k), t.press, t.release);
    s.doc.flags.modified(k) = true;
    rebuildKindSurface(s, k);
    huaban_hecheng1(s);
    return true;
}

bool faxing_bx(StudioState& s) { return warpLayer(s, Kind::faxing); }
bool meimao_bx(StudioState& s) { return warpLayer(s, Kind::meimao); }
bool zuixing_bx(StudioState& s) { return warpLayer(s, Kind::zuixing); }
bool fuzhuang_bx(StudioState& s) { return warpLayer(s, Kind::fuzhuang); }

}  // namespace ms
