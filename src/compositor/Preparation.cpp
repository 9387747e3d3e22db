#include "compositor/Preparation.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "imaging/GridImage.h"
#include "imaging/PixelHelpers.h"
#include "platform/ComponentFile.h"

namespace ms {

namespace {

void blendAt(StudioState& s, Layer layer, const Placement& p) {
    blendOver(s.doc.surfaces.canvas, p.dst, s.doc.surfaces.of(kindOf(layer)), p.src);
}

// Alpha + strength, limited to 0 .. 255; colours as they are.
PixelGrid withStrength(const PixelGrid& grid, int strength) {
    PixelGrid out = grid;
    for (uint32_t& p : out.pixels) {
        const int a = std::clamp(alphaOf(p) + strength, 0, 255);
        p = (p & 0x00FFFFFFu) | static_cast<uint32_t>(a) << 24;
    }
    return out;
}

// A straight grid of the kind becomes its premultiplied surface; the grid is not changed.
Surface kindSurface(const StudioState& s, Kind k, const PixelGrid& grid) {
    switch (kindInfo(k).step) {
        case SurfaceStep::LipColour:
            return Surface::fromGrid(withStrength(grid, s.doc.design.zuixingnd));
        case SurfaceStep::EyebrowStrength:
            if (s.session.eyebrowStrength != 0)
                return Surface::fromGrid(withStrength(grid, s.session.eyebrowStrength));
            break;
        case SurfaceStep::Plain:
            break;
    }
    return Surface::fromGrid(grid);
}

void emptyKind(StudioState& s, Kind k) {
    const KindInfo& info = kindInfo(k);
    if (info.keepsGrid()) s.doc.grids.*info.grid = s.doc.grids.*info.backup = PixelGrid();
    if (info.fileHeight) s.doc.design.*info.fileHeight = 0;
    s.doc.surfaces.of(k).clear();
}

}  // namespace

Status loadKindGrid(const StudioState& s, Kind k, KindFile& out) {
    const KindInfo& info = kindInfo(k);
    const QString name = info.hasComponentFile() ? (s.doc.design.*info.file).trimmed() : QString();
    if (name.isEmpty()) {
        out = KindFile{.none = true};
        return Status::success();
    }
    ComponentImage img;
    if (Status st = readComponentFile(name, info.sizing(), img); !st) return st;
    // The file gives the lips' shape (alpha); its colours are replaced by the lip colour.
    if (info.step == SurfaceStep::LipColour) tintWithLipColour(img.grid, s.doc.design.lipColour);
    out = KindFile{.none = false, .header = img.header, .grid = std::move(img.grid)};
    return Status::success();
}

void tintWithLipColour(PixelGrid& grid, int32_t lipColour) {
    const uint32_t tint = pixelFromColourValue(lipColour, 0);
    for (uint32_t& p : grid.pixels) p = (p & 0xFF000000u) | tint;
}

void rebuildKindSurface(StudioState& s, Kind k) {
    const KindInfo& info = kindInfo(k);
    if (!info.keepsGrid() || k == Kind::xiushi) return;
    const PixelGrid& grid = s.doc.grids.*info.grid;
    if (grid.isEmpty())
        s.doc.surfaces.of(k).clear();
    else
        s.doc.surfaces.of(k) = kindSurface(s, k, grid);
}

Status prepareKind(StudioState& s, Kind k) {
    if (k == Kind::xiushi) return xiushi_hecheng(s);
    const KindInfo& info = kindInfo(k);
    KindFile file;
    if (Status st = loadKindGrid(s, k, file); !st) {
        // Every library has its "000.tta": say which library a broken file belongs to.
        const QFileInfo where((s.doc.design.*info.file).trimmed());
        if (where.absolutePath() == QDir::cleanPath(s.path(info.folder())))
            return Status{st.code, QStringLiteral("%1库的%2").arg(info.displayName(), st.message)};
        return st;
    }
    if (file.none) {
        emptyKind(s, k);
        return Status::success();
    }
    if (info.fileHeight) s.doc.design.*info.fileHeight = file.header.height;
    if (info.keepsGrid()) {
        s.doc.grids.*info.backup = file.grid;
        s.doc.grids.*info.grid = std::move(file.grid);
        rebuildKindSurface(s, k);
    } else {
        s.doc.surfaces.of(k) = kindSurface(s, k, file.grid);
    }
    for (Layer layer : info.layers())
        blendAt(s, layer,
                preparationPlacement(layer, s.doc.design.geometry, file.header.width, file.header.height));
    return Status::success();
}

void blendPrepared(StudioState& s, Layer layer) {
    blendAt(s, layer, redrawPlacement(layer, s.doc.design.geometry, s.doc.design.hairHeight));
}

Status faxing_hecheng(StudioState& s) { return prepareKind(s, Kind::faxing); }
Status meimao_hecheng(StudioState& s) { return prepareKind(s, Kind::meimao); }
Status zuixing_hecheng(StudioState& s) { return prepareKind(s, Kind::zuixing); }
Status yanjing_hecheng(StudioState& s) { return prepareKind(s, Kind::yanjing); }
Status maozi_hecheng(StudioState& s) { return prepareKind(s, Kind::maozi); }
Status erhuan_hecheng(StudioState& s) { return prepareKind(s, Kind::erhuan); }
Status xianglian_hecheng(StudioState& s) { return prepareKind(s, Kind::xianglian); }
Status fuzhuang_hecheng(StudioState& s) { return prepareKind(s, Kind::fuzhuang); }

Status xiushi_hecheng(StudioState& s) {
    // Empty pictures give an all-zero grid: a fully transparent layer.
    auto sized = [](const QImage& pic) {
        PixelGrid g(kCanvasWidth, kCanvasHeight);
        const PixelGrid from = gridFromImage(pic);
        // The picture's bottom rows line up with the grid's bottom rows.
        const int w = std::min(from.width, kCanvasWidth), h = std::min(from.height, kCanvasHeight);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) g.at(x, kCanvasHeight - 1 - y) = from.at(x, from.height - 1 - y);
        return g;
    };
    KindGrids& grids = s.doc.grids;
    grids.cutout = sized(s.doc.design.PicRGB);
    grids.cutoutMask = sized(s.doc.design.PicA);
    PixelGrid& c = grids.cutout;
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const uint32_t a = static_cast<uint32_t>(redOf(grids.cutoutMask.pixels[i]));
        c.pixels[i] = premultiplied((c.pixels[i] & 0x00FFFFFFu) | a << 24);
    }
    s.doc.surfaces.of(Kind::xiushi) = Surface::fromPremultipliedGrid(c);
    blendPrepared(s, Layer::Cutout);
    return Status::success();
}

Status faxing_hecheng1(StudioState& s) {
    const PixelGrid& hair = s.doc.grids.hairstyle;
    if (hair.isEmpty()) return Status::notFound(QStringLiteral("当前没有发型，无法生成发型图。"));
    s.doc.grids.hairstyleBackup = hair;
    drawHairPicture(s, hair);
    return Status::success();
}

void drawHairPicture(StudioState& s, const PixelGrid& hair) {
    PixelGrid opaque = hair;
    for (uint32_t& p : opaque.pixels) p |= 0xFF000000u;
    QImage fx(kCanvasWidth, std::max(1, s.doc.design.hairHeight), QImage::Format_ARGB32_Premultiplied);
    fx.fill(Qt::white);
    const Placement p =
        preparationPlacement(Layer::Hairstyle, s.doc.design.geometry, hair.width, hair.height);
    // Opaque pixels are their own premultiplied form.
    blendOver(fx, p.dst, Surface::fromPremultipliedGrid(opaque), p.src);
    s.session.views.Picfx = fx.convertToFormat(QImage::Format_RGB32);
}

}  // namespace ms
