#include "compositor/LayerGeometry.h"

#include <algorithm>
#include <cmath>

#include "imaging/Rounding.h"

namespace ms {

namespace {

// Integer terms are 16-bit register arithmetic; round(...) terms are real arithmetic.
int i16(int v) { return wrap16(v); }
int r16(double v) { return wrap16(roundHalfEven(v)); }
QRect rect(int x, int y, int w, int h) { return QRect(i16(x), i16(y), i16(w), i16(h)); }

}  // namespace

Placement redrawPlacement(Layer layer, const LayerGeometry& g, int hh) {
    switch (layer) {
        case Layer::EyebrowLeft:
            return {QRect(0, 0, 90, 40), rect(r16(100 - g.mmleftz / 2.0 - g.mmWidthz),
                                              r16(i16(160 - g.mmtopz) - g.mmheightz / 2.0),
                                              90 + i16(2 * g.mmWidthz), 40 + g.mmheightz)};
        case Layer::EyebrowRight:  // drawn one pixel narrower than its source
            return {QRect(90, 0, 90, 40), rect(r16(g.mmlefty / 2.0 + 190 - g.mmWidthy),
                                               r16(i16(160 - g.mmtopy) - g.mmheighty / 2.0),
                                               89 + i16(2 * g.mmWidthy), 40 + g.mmheighty)};
        case Layer::Lips:
            return {QRect(0, 0, 100, 50), rect(r16(140 - g.zuixingWidth / 2.0 + g.zuixingleft),
                                               r16(265 - g.zuixingheight / 2.0 + g.zuixingtop),
                                               100 + g.zuixingWidth, 50 + g.zuixingheight)};
        case Layer::Necklace:
            return {QRect(0, 0, 200, 140),
                    rect(90 - g.xianglianWidth, r16(320 - g.xianglianWidth / 2.0 + g.xiangliantop),
                         200 + i16(2 * g.xianglianWidth), 140 + g.xianglianWidth)};
        case Layer::Clothing:
            return {QRect(0, 0, 400, 190), rect(-10 - g.fuzhuangWidth, 300 - g.fuzhuangtop,
                                                400 + i16(2 * g.fuzhuangWidth), 190 + g.fuzhuangheight)};
        case Layer::Hairstyle:
            return {QRect(0, 0, 380, hh),
                    rect(i16(2 * g.faxingleft) - g.faxingWidth, g.faxingtop + g.faxingheight,
                         380 + i16(2 * g.faxingWidth), hh + g.faxingheight)};
        case Layer::Glasses:
            return {QRect(0, 0, 180, 70), rect(r16(100 - g.yanjingWidth / 2.0 + g.yanjingleft),
                                               r16(177 - g.yanjingheight / 2.0 + g.yanjingtop),
                                               180 + g.yanjingWidth, 70 + g.yanjingheight)};
        case Layer::Hat:  // drawn 379 wide, not 380
            return {QRect(0, 0, 380, 250),
                    rect(i16(2 * g.maozileft) - g.maoziWidth, i16(g.maozitop - g.maoziheight) - 10,
                         379 + i16(2 * g.maoziWidth), 250 + g.maoziheight)};
        case Layer::EarringLeft:
            return {QRect(0, 0, 40, 65),
                    rect(r16(i16(85 - g.erhuanleft) - g.erhuanWidth / 2.0), 248 - g.erhuantop,
                         40 + g.erhuanWidth, 65 + i16(2 * g.erhuanWidth))};
        case Layer::EarringRight:  // drawn one pixel narrower than its source
            return {QRect(40, 0, 40, 65),
                    rect(r16(i16(g.erhuanleft + 255) - g.erhuanWidth / 2.0), 248 - g.erhuantop,
                         39 + g.erhuanWidth, 65 + i16(2 * g.erhuanWidth))};
        case Layer::Cutout:
            return {QRect(0, 0, 380, 480), QRect(0, 0, 380, 480)};
    }
    return {};
}

Placement preparationPlacement(Layer layer, const LayerGeometry& g, int W, int H) {
    Placement p = redrawPlacement(layer, g, H);
    const auto size = [&](int w, int h) { p.dst.setSize(QSize(i16(w), i16(h))); };
    switch (layer) {
        case Layer::EyebrowLeft:
            p.src = QRect(0, 0, roundHalfEven(W / 2.0), H);
            size(r16(W / 2.0 + 2 * g.mmWidthz), H + g.mmheightz);
            break;
        case Layer::EyebrowRight:
            p.src = QRect(90, 0, roundHalfEven(W / 2.0), H);
            size(r16(W / 2.0 - 1 + 2 * g.mmWidthy), H + g.mmheighty);
            break;
        case Layer::Lips:
            p.src = QRect(0, 0, W, H);
            size(W + g.zuixingWidth, H + g.zuixingheight);
            break;
        case Layer::Necklace:
            p.src = QRect(0, 0, W, H);
            size(W + i16(2 * g.xianglianWidth), H + g.xianglianWidth);
            break;
        case Layer::Hairstyle:
            p.src = QRect(0, 0, W, H);
            size(W + i16(2 * g.faxingWidth), H + g.faxingheight);
            break;
        case Layer::Glasses:
            p.src = QRect(0, 0, W, H);
            size(W + g.yanjingWidth, H + g.yanjingheight);
            break;
        case Layer::Hat:  // one pixel narrower and lower than its source
            p.src = QRect(0, 0, W, H);
            size(W - 1 + i16(2 * g.maoziWidth), H - 1 + g.maoziheight);
            break;
        case Layer::EarringLeft:
            p.src = QRect(0, 0, roundHalfEven(W / 2.0), H);
            size(r16(W / 2.0 + g.erhuanWidth), H + i16(2 * g.erhuanWidth));
            break;
        case Layer::EarringRight:
            p.src = QRect(40, 0, roundHalfEven(W / 2.0), H);
            size(r16(W / 2.0 - 1 + g.erhuanWidth), H + i16(2 * g.erhuanWidth));
            break;
        case Layer::Clothing:  // always the 400 x 190 source, whatever the file size
        case Layer::Cutout:
            break;
    }
    return p;
}

std::optional<QPoint> canvasToGrid(const Placement& p, int gridHeight, QPoint canvas) {
    if (!p.dst.contains(canvas) || p.src.isEmpty()) return std::nullopt;
    const double u = p.src.x() + (canvas.x() + 0.5 - p.dst.x()) * p.src.width() / p.dst.width();
    const double v = p.src.y() + (canvas.y() + 0.5 - p.dst.y()) * p.src.height() / p.dst.height();
    const int sx = std::clamp(static_cast<int>(std::floor(u)), p.src.left(), p.src.right());
    const int sy = std::clamp(static_cast<int>(std::floor(v)), p.src.top(), p.src.bottom());
    return QPoint(sx, gridHeight - 1 - sy);
}

std::optional<QPointF> canvasToGridF(const Placement& p, int gridHeight, QPointF canvas) {
    if (p.src.isEmpty() || p.dst.width() <= 0 || p.dst.height() <= 0) return std::nullopt;
    const double u = p.src.x() + (canvas.x() + 0.5 - p.dst.x()) * p.src.width() / p.dst.width() - 0.5;
    const double v = p.src.y() + (canvas.y() + 0.5 - p.dst.y()) * p.src.height() / p.dst.height() - 0.5;
    return QPointF(u, gridHeight - 1 - v);
}

QPointF gridToCanvas(const Placement& p, int gridHeight, QPoint grid) {
    const double u = grid.x() + 0.5, v = gridHeight - 1 - grid.y() + 0.5;
    return {p.dst.x() + (u - p.src.x()) * p.dst.width() / p.src.width() - 0.5,
            p.dst.y() + (v - p.src.y()) * p.dst.height() / p.src.height() - 0.5};
}

QPointF magnifiedToCanvas(QPointF viewPixels) {
    return viewPixels * (kPointsPerViewPixel * kCanvasPerMagnifiedPoint);
}

QPointF canvasToMagnified(QPointF canvas) {
    return canvas / (kPointsPerViewPixel * kCanvasPerMagnifiedPoint);
}

}  // namespace ms
