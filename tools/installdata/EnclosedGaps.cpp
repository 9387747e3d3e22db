// Filling the see-through pockets that hair walls in, with the shade of the hair behind them.
#include "EnclosedGaps.h"

#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

#include "Draw.h"
#include "Geometry.h"

namespace installdata {

using namespace face;

namespace {

// Hair at least this opaque walls a pocket in; fainter hair (a stray wisp, frizz) lets it show.
constexpr int kWallAlpha = 100;

// Flood fills over the `open` pixels of a w x h picture: `seen` marks what was reached.
struct Flood {
    int w, h;
    const std::vector<char>& open;
    std::vector<char> seen = std::vector<char>(open.size());
    std::vector<std::pair<int, int>> stack, region;

    size_t at(int x, int y) const { return static_cast<size_t>(y) * w + x; }
    void push(int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || !open[at(x, y)] || seen[at(x, y)]) return;
        seen[at(x, y)] = 1;
        stack.emplace_back(x, y);
    }
    // Everything connected to what was pushed, into `region`.
    void fill() {
        region.clear();
        while (!stack.empty()) {
            const auto [x, y] = stack.back();
            stack.pop_back();
            region.emplace_back(x, y);
            push(x + 1, y), push(x - 1, y), push(x, y + 1), push(x, y - 1);
        }
    }
    // From the picture's border and the bare face.
    void fillFromOutside() {
        for (int x = 0; x < w; ++x) push(x, 0), push(x, h - 1);
        for (int y = 0; y < h; ++y) push(0, y), push(w - 1, y);
        for (QPointF s : {QPointF(kEyeLeftX, kEyeY), QPointF(kEyeRightX, kEyeY), QPointF(kEyeLeftX, kBrowY),
                          QPointF(kEyeRightX, kBrowY), QPointF(kMidX, kEyeY), QPointF(kMidX, kMouthY),
                          QPointF(kMidX, 150)})
            push(static_cast<int>(s.x()), static_cast<int>(s.y()));
        fill();
    }
};

std::vector<char> alphaBelow(const QImage& layer, int limit) {
    const int w = layer.width(), h = layer.height();
    std::vector<char> m(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < w; ++x) m[static_cast<size_t>(y) * w + x] = qAlpha(row[x]) < limit;
    }
    return m;
}

// One pass of fillEnclosedGaps; false when there was no gap.
bool fillGapsOnce(QImage& layer, const QColor& behind) {
    const int w = layer.width(), h = layer.height();
    const std::vector<char> open = alphaBelow(layer, 8), faint = alphaBelow(layer, kWallAlpha);
    Flood gaps{w, h, open};
    gaps.fillFromOutside();
    // A pocket the outside reaches through faint hair is only walled in by a stray wisp or frizz:
    // the background shows through there, and a dark fill would sit beside the hair as a smudge.
    Flood seeThrough{w, h, faint};
    seeThrough.fillFromOutside();
    QImage under = newLayer(w, h);
    bool any = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!open[gaps.at(x, y)] || gaps.seen[gaps.at(x, y)]) continue;
            gaps.push(x, y);
            gaps.fill();
            const auto& region = gaps.region;
            if (region.size() > 3000) continue;  // not a gap but an opening: leave it
            if (std::any_of(region.begin(), region.end(),
                            [&](auto q) { return seeThrough.seen[gaps.at(q.first, q.second)] != 0; }))
                continue;
            any = true;
            for (auto [gx, gy] : region)  // the gap and its antialiased rim
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (gx + dx >= 0 && gy + dy >= 0 && gx + dx < w && gy + dy < h)
                            under.setPixel(gx + dx, gy + dy, qPremultiply(behind.rgba()));
        }
    QPainter p;
    beginPainter(p, layer);
    // Soft, so the rims of the filled gaps show no blocky pixels.
    drawBlurred(p, std::move(under), 2, QPainter::CompositionMode_DestinationOver);
    return any;
}

}  // namespace

void fillEnclosedGaps(QImage& layer, const QColor& behind) {
    // The soft rims of filled gaps can close off a channel to a neighbouring pocket: look again.
    for (int pass = 0; pass < 3 && fillGapsOnce(layer, behind); ++pass) {
    }
}

}  // namespace installdata
