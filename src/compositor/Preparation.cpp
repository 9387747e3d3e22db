#include "compositor/Preparation.h"

#include <QPainter>
#include <algorithm>

#include "imaging/ComponentFile.h"
#include "imaging/GridImage.h"

namespace ms {

Kind kindOf(Layer layer) {
    switch (layer) {
        case Layer::EyebrowLeft:
        case Layer::EyebrowRight:
            return Kind::meimao;
        case Layer::Lips:
            return Kind::zuixing;
        case Layer::Necklace:
            return Kind::xianglian;
        case Layer::Clothing:
            return Kind::fuzhuang;
        case Layer::Hairstyle:
            return Kind::faxing;
        case Layer::Glasses:
            return Kind::yanjing;
        case Layer::Hat:
            return Kind::maozi;
        case Layer::EarringLeft:
        case Layer::EarringRight:
            return Kind::erhuan;
        case Layer::Cutout:
            return Kind::xiushi;
    }
    return Kind::xiushi;
}

namespace {

void blendAt(StudioState& s, Layer layer, const Placement& p) {
    blendOver(s.surfaces.canvas, p.dst, s.surfaces.of(kindOf(layer)), p.src);
}

// Reads the kind's file; an empty name yields an empty image and success.
Status readKind(const QString& name, GridSizing sizing, ComponentImage& out, bool& none) {
    none = name.trimmed().isEmpty();
    if (none) return Status::success();
    return readComponentFile(name.trimmed(), sizing, out);
}

// The shared tail of the preparations that keep no grid: upload, blend.
Status prepareSimple(StudioState& s, const QString& name, Kind kind, std::initializer_list<Layer> layers) {
    ComponentImage img;
    bool none = false;
    if (Status st = readKind(name, GridSizing::fromHeader(), img, none); !st) return st;
    Surface& surface = s.surfaces.of(kind);
    if (none) {
        surface.clear();
        return Status::success();
    }
    surface = Surface::fromGrid(img.grid, false);
    for (Layer layer : layers)
        blendAt(s, layer,
                preparationPlacement(layer, s.design.geometry, img.header.width, img.header.height));
    return Status::success();
}

}  // namespace

void blendPrepared(StudioState& s, Layer layer) {
    blendAt(s, layer, redrawPlacement(layer, s.design.geometry, s.design.hairHeight));
}

Status faxing_hecheng(StudioState& s) {
    ComponentImage img;
    bool none = false;
    if (Status st = readKind(s.design.faxingname, GridSizing::fromHeader(), img, none); !st) return st;
    if (none) {
        s.grids.hairstyle = s.grids.hairstyleBackup = s.grids.hairstyleWork = PixelGrid();
        s.design.hairHeight = 0;
        s.surfaces.of(Kind::faxing).clear();
        return Status::success();
    }
    s.grids.hairstyle = std::move(img.grid);
    s.grids.hairstyleBackup = s.grids.hairstyle;
    s.grids.hairstyleWork = PixelGrid(s.grids.hairstyle.width, s.grids.hairstyle.height);
    s.design.hairHeight = img.header.height;
    s.surfaces.of(Kind::faxing) = Surface::fromGrid(s.grids.hairstyle, false);
    blendAt(s, Layer::Hairstyle,
            preparationPlacement(Layer::Hairstyle, s.design.geometry, img.header.width, img.header.height));
    return Status::success();
}

Status meimao_hecheng(StudioState& s) {
    ComponentImage img;
    bool none = false;
    if (Status st = readKind(s.design.meimaoxingname, GridSizing::fixed(180, 40), img, none); !st) return st;
    if (none) {
        s.grids.eyebrow = s.grids.eyebrowBackup = PixelGrid();
        s.surfaces.of(Kind::meimao).clear();
        return Status::success();
    }
    s.grids.eyebrow = std::move(img.grid);
    s.grids.eyebrowBackup = s.grids.eyebrow;
    s.surfaces.of(Kind::meimao) = Surface::fromGrid(s.grids.eyebrow, false);
    for (Layer layer : {Layer::EyebrowLeft, Layer::EyebrowRight})
        blendAt(s, layer,
                preparationPlacement(layer, s.design.geometry, img.header.width, img.header.height));
    return Status::success();
}

Status zuixing_hecheng(StudioState& s) {
    ComponentImage img;
    bool none = false;
    if (Status st = readKind(s.design.zuixingname, GridSizing::fixed(100, 50), img, none); !st) return st;
    if (none) {
        s.grids.lips = s.grids.lipsBackup = PixelGrid();
        s.surfaces.of(Kind::zuixing).clear();
        return Status::success();
    }
    // The file gives the shape (alpha); its colours are replaced by the lip colour.
    const uint32_t tint = pixelFromColourValue(s.design.lipColour, 0);
    for (uint32_t& p : img.grid.pixels) p = (p & 0xFF000000u) | tint;
    s.grids.lips = img.grid;
    s.grids.lipsBackup = img.grid;
    const int nd = s.design.zuixingnd;
    for (uint32_t& p : img.grid.pixels) {
        const int a = std::clamp(alphaOf(p) + nd, 0, 255);
        p = (p & 0x00FFFFFFu) | static_cast<uint32_t>(a) << 24;
    }
    s.surfaces.of(Kind::zuixing) = Surface::fromGrid(img.grid, false);
    blendAt(s, Layer::Lips,
            preparationPlacement(Layer::Lips, s.design.geometry, img.header.width, img.header.height));
    return Status::success();
}

Status yanjing_hecheng(StudioState& s) {
    return prepareSimple(s, s.design.yanjingname, Kind::yanjing, {Layer::Glasses});
}
Status maozi_hecheng(StudioState& s) {
    return prepareSimple(s, s.design.maoziname, Kind::maozi, {Layer::Hat});
}
Status erhuan_hecheng(StudioState& s) {
    return prepareSimple(s, s.design.erhuanname, Kind::erhuan, {Layer::EarringLeft, Layer::EarringRight});
}
Status xianglian_hecheng(StudioState& s) {
    return prepareSimple(s, s.design.xianglianname, Kind::xianglian, {Layer::Necklace});
}

Status fuzhuang_hecheng(StudioState& s) {
    ComponentImage img;
    bool none = false;
    if (Status st = readKind(s.design.fuzhuangname, GridSizing::fromHeader(), img, none); !st) return st;
    if (none) {
        s.grids.clothing = s.grids.clothingBackup = PixelGrid();
        s.surfaces.of(Kind::fuzhuang).clear();
        return Status::success();
    }
    s.grids.clothing = std::move(img.grid);
    s.grids.clothingBackup = s.grids.clothing;
    s.surfaces.of(Kind::fuzhuang) = Surface::fromGrid(s.grids.clothing, false);
    blendAt(s, Layer::Clothing, preparationPlacement(Layer::Clothing, s.design.geometry, 0, 0));
    return Status::success();
}

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
    s.grids.cutout = sized(s.design.PicRGB);
    s.grids.cutoutMask = sized(s.design.PicA);
    PixelGrid& c = s.grids.cutout;
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const uint32_t a = static_cast<uint32_t>(redOf(s.grids.cutoutMask.pixels[i]));
        c.pixels[i] = (c.pixels[i] & 0x00FFFFFFu) | a << 24;
    }
    premultiplyGrid(c);
    s.surfaces.of(Kind::xiushi) = Surface::fromGrid(c, true);
    blendPrepared(s, Layer::Cutout);
    return Status::success();
}

Status faxing_hecheng1(StudioState& s) {
    const PixelGrid& hair = s.grids.hairstyle;
    if (hair.isEmpty()) return Status::failure(QStringLiteral("当前没有发型，无法生成发型图。"));
    s.grids.hairstyleBackup = hair;
    PixelGrid opaque = hair;
    for (uint32_t& p : opaque.pixels) p |= 0xFF000000u;
    QImage fx(kCanvasWidth, std::max(1, s.design.hairHeight), QImage::Format_ARGB32_Premultiplied);
    fx.fill(Qt::white);
    const Placement p = preparationPlacement(Layer::Hairstyle, s.design.geometry, hair.width, hair.height);
    blendOver(fx, p.dst, Surface::fromGrid(opaque, true), p.src);
    s.views.Picfx = fx.convertToFormat(QImage::Format_RGB32);
    return Status::success();
}

}  // namespace ms
