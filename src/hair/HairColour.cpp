#include "hair/HairColour.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "compositor/Composition.h"
#include "compositor/LayerGeometry.h"
#include "compositor/Preparation.h"
#include "hair/HairFiles.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Rounding.h"
#include "imaging/Surface.h"
#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

const std::array<DyePreset, 12> kPresets{{
    {u"  咖啡色", {20, 10, 0}},
    {u"  栗子色", {10, 10, 0}},
    {u"  褐色", {10, -10, 0}},
    {u"  亚麻色", {20, -10, 0}},
    {u"浅亚麻色", {35, 0, 0}},
    {u"  金黄色", {30, 40, 0}},
    {u"  橙色", {20, 30, 0}},
    {u" 葡萄酒红", {0, 20, 0}},
    {u"  粉色", {-20, 20, 0}},
    {u"  紫色", {-70, -10, 0}},
    {u"  蓝色", {-150, -10, 0}},
    {u"自然黑色", {20, -20, -1000}},
}};

const Status& noHairstyle() {
    static const Status st =
        Status::notFound(QStringLiteral("画像上没有发型：请先在发型库中选一个发型，再漂染、挑染或修剪。"));
    return st;
}

// The dyed colour depends only on the largest and smallest channel (the hue is replaced), so each
// pair is converted once per dye.
class DyeTable {
  public:
    explicit DyeTable(const Dye& dye) : dye_(dye), rgb_(256 * 256, 0) {}
    uint32_t dyed(uint32_t p) {
        const int r = redOf(p), g = greenOf(p), b = blueOf(p);
        const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
        uint32_t& known = rgb_[static_cast<size_t>(mx) * 256 + mn];
        // Bit 31 marks a filled entry; the alpha is put in below.
        if (!known) known = dyePixel(pixelBGRA(mx, mn, mn, 0), dye_) | 0x80000000u;
        return (known & 0x00FFFFFFu) | (p & 0xFF000000u);
    }

  private:
    Dye dye_;
    std::vector<uint32_t> rgb_;
};

// Where the hairstyle's placement puts the centre of each grid column and row in Picfx; -1 off it.
struct PictureMap {
    std::vector<int> column, row;
};
PictureMap mapToPicture(const StudioState& s, const PixelGrid& grid, const QImage& picture) {
    const Placement p = redrawPlacement(Layer::Hairstyle, s.doc.design.geometry, s.doc.design.hairHeight);
    PictureMap m{std::vector<int>(static_cast<size_t>(grid.width), -1),
                 std::vector<int>(static_cast<size_t>(grid.height), -1)};
    if (p.src.isEmpty() || p.dst.isEmpty()) return m;
    for (int x = 0; x < grid.width; ++x) {
        const int c = roundHalfEven(gridToCanvas(p, grid.height, QPoint(x, 0)).x());
        if (c >= 0 && c < picture.width()) m.column[static_cast<size_t>(x)] = c;
    }
    for (int y = 0; y < grid.height; ++y) {
        const int r = roundHalfEven(gridToCanvas(p, grid.height, QPoint(0, y)).y());
        if (r >= 0 && r < picture.height()) m.row[static_cast<size_t>(y)] = r;
    }
    return m;
}

// Pattern i's file, premultiplied, blended onto `picture` at `to` one pixel smaller each way.
Status stampFile(QImage& picture, const QString& path, QPoint to) {
    ComponentImage img;
    if (Status st = readComponentFile(path, GridSizing::fromHeader(), img); !st) return st;
    const PixelGrid& g = img.grid;
    blendOver(picture, QRect(to, QSize(g.width - 1, g.height - 1)), Surface::fromGrid(g),
              QRect(0, 0, g.width, g.height));
    return Status::success();
}

}  // namespace

const std::array<DyePreset, 12>& dyePresets() { return kPresets; }

uint32_t dyePixel(uint32_t pixel, const Dye& dye) {
    const Hsv hsv = rgb_to_hsv(redOf(pixel), greenOf(pixel), blueOf(pixel));
    double h = dye.A;
    if (h > 360) h -= 360;
    if (h < 0) h += 360;
    const double s = std::clamp(hsv.s + dye.B, 0.0, 100.0);
    double v = hsv.v;
    if (v != 0) v += dye.C / v;
    // The value is capped at 95 for every pixel, also without darkening.
    v = std::clamp(v, 0.0, 95.0);
    const Rgb out = hsv_to_rgb(h, s, v);
    return pixelBGRA(out.c2, out.c1, out.c0, alphaOf(pixel));
}

bool hasHairstyle(const StudioState& s) {
    const QString name = s.doc.design.faxingname.trimmed();
    return !name.isEmpty() && !QFileInfo(name).fileName().startsWith(QLatin1String("000.")) &&
           !s.doc.grids.hairstyle.isEmpty();
}

Status openHairColour(StudioState& s) {
    saveCutoutSnapshot(s);
    if (!hasHairstyle(s)) return noHairstyle();
    return faxing_hecheng1(s);
}

Status faxing_bianse(StudioState& s, const std::function<void(int)>& progress) {
    if (!hasHairstyle(s)) return noHairstyle();
    KindGrids& g = s.doc.grids;
    // Dyeing starts from the hairstyle as loaded or last trimmed; the grid keeps it undyed.
    g.hairstyle = g.hairstyleBackup;
    const Dye dye{s.session.hair.dyeHue, s.session.hair.dyeSaturation, s.session.hair.dyeDarkening};
    DyeTable table(dye);
    PixelGrid straight = g.hairstyle, dyed(straight.width, straight.height);
    const int w = dyed.width, h = dyed.height;
    for (int y = 0; y < h; ++y) {
        uint32_t* in = straight.pixels.data() + static_cast<size_t>(y) * w;
        uint32_t* out = dyed.pixels.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x)
            if (in[x] >> 24) out[x] = premultiplied(in[x] = table.dyed(in[x]));
        // The bar runs over the columns 0 .. 379: told about ten times.
        if (progress && (y + 1) % std::max(1, h / 10) == 0) progress((y + 1) * (w - 1) / h);
    }
    s.doc.surfaces.of(Kind::faxing) = Surface::fromPremultipliedGrid(dyed);
    // Highlights painted next go on top of the dye.
    drawHairPicture(s, straight);
    huaban_hecheng1(s);
    return Status::success();
}

Status commitHairPicture(StudioState& s) {
    if (!hasHairstyle(s)) return noHairstyle();
    const PixelGrid& hair = s.doc.grids.hairstyle;
    const QImage picture = s.session.views.Picfx.convertToFormat(QImage::Format_RGB32);
    const PictureMap map = mapToPicture(s, hair, picture);
    PixelGrid readBack(hair.width, hair.height);
    for (int y = 0; y < hair.height; ++y) {
        const int py = map.row[static_cast<size_t>(y)];
        const auto* line = py < 0 ? nullptr : reinterpret_cast<const uint32_t*>(picture.constScanLine(py));
        for (int x = 0; x < hair.width; ++x) {
            const uint32_t own = hair.at(x, y);
            const int px = map.column[static_cast<size_t>(x)];
            // Off the picture the hairstyle keeps its own colour.
            const uint32_t colour = line && px >= 0 ? line[px] : own;
            readBack.at(x, y) = premultiplied((colour & 0x00FFFFFFu) | (own & 0xFF000000u));
        }
    }
    s.doc.surfaces.of(Kind::faxing) = Surface::fromPremultipliedGrid(readBack);
    return Status::success();
}

Status beginHighlights(StudioState& s) {
    ToolState& t = s.session.tools;
    t.highlightBrush = true;
    t.locked = false;
    const Status st = commitHairPicture(s);
    huaban_hecheng1(s);
    return st;
}

Status clearHighlights(StudioState& s) {
    if (!hasHairstyle(s)) return noHairstyle();
    if (Status st = faxing_hecheng1(s); !st) return st;
    const Status st = commitHairPicture(s);
    huaban_hecheng1(s);
    return st;
}

void selectHighlightPattern(StudioState& s, int i) {
    if (i >= 0 && i < hairfiles::kHighlightPatternCount) s.session.hair.highlightPattern = i;
}

void saveCutoutSnapshot(const StudioState& s) {
    const int32_t n = s.session.hair.snapshot;
    (void)savePictureBmp(s.path(QStringLiteral("temp/%1.bmp").arg(n)), cutoutOrBlack(s.doc.design.PicRGB));
    (void)savePictureBmp(s.path(QStringLiteral("temp/%1p.bmp").arg(n)), cutoutOrBlack(s.doc.design.PicA));
}

Status stampHighlightPattern(StudioState& s, QPointF canvas) {
    const int i = s.session.hair.highlightPattern;
    if (i < 0) return Status::success();
    saveCutoutSnapshot(s);
    const int k = hairfiles::highlightOffset(i);
    const QPoint to(roundHalfEven(canvas.x() - k), roundHalfEven(canvas.y() - k));
    DesignState& d = s.doc.design;
    QImage colour = cutoutOrBlack(d.PicRGB), mask = cutoutOrBlack(d.PicA);
    Status st = stampFile(colour, s.path(hairfiles::highlightPattern(i)), to);
    if (st) st = stampFile(mask, s.path(hairfiles::highlightMask(i)), to);
    if (st) {
        d.PicRGB = colour;
        d.PicA = mask;
        // What the cut-out layer shows there, laid on the working photo so the redraw shows it.
        (void)stampFile(d.PicMT, s.path(hairfiles::highlightPattern(i)), to);
    }
    huaban_hecheng1(s);
    HairToolState& hair = s.session.hair;
    hair.snapshot += 1;
    saveCutoutSnapshot(s);
    hair.lastSnapshot = hair.snapshot;
    return st;
}

}  // namespace ms
