#include "library/Thumbnails.h"

#include "compositor/Kinds.h"
#include "imaging/Rounding.h"
#include "imaging/Surface.h"
#include "platform/ComponentFile.h"

namespace ms {

ThumbnailKind thumbnailKindOf(LibraryKind libraryKind, AccessorySubKind accessorySubKind) {
    return kindInfo(kindOfLibrary(libraryKind, accessorySubKind)).thumbnail;
}

ThumbnailArea areaOf(ThumbnailKind kind) {
    switch (kind) {
        case ThumbnailKind::Hairstyle:
            return ThumbnailArea::Hairstyle;
        case ThumbnailKind::Eyebrows:
        case ThumbnailKind::Glasses:
            return ThumbnailArea::Strip;
        default:
            return ThumbnailArea::Square;
    }
}

QSize areaSize(ThumbnailArea area) {
    switch (area) {
        case ThumbnailArea::Square:
            return {67, 67};
        case ThumbnailArea::Strip:
            return {100, 33};
        case ThumbnailArea::Hairstyle:
            return {100, 100};
    }
    return {};
}

QRect thumbnailRect(ThumbnailKind kind, int W, int H) {
    // A component of width w keeps its proportions: h = rnd(H x w / W), centred on a band of height band.
    auto fitted = [W, H](int x, int w, int band) {
        const int h = roundHalfEven(H * static_cast<double>(w) / W);
        return QRect(x, roundHalfEven((band - h) / 2.0), w, h);
    };
    switch (kind) {
        case ThumbnailKind::Hairstyle: {
            const int h = roundHalfEven(static_cast<double>(H) / W * 100);
            return {-2, roundHalfEven((90 - h) / 2.0), 100, h};
        }
        case ThumbnailKind::Eyebrows:
            return {0, 2, 100, 22};  // squeezed whatever the proportions
        case ThumbnailKind::Lips:
            return fitted(-15, 98, 60);
        case ThumbnailKind::Hat:
            return fitted(-8, 80, 60);
        case ThumbnailKind::Glasses:
            return {0, -2, 100, roundHalfEven(H * 100.0 / W)};
        case ThumbnailKind::Earrings:
            return fitted(-2, 70, 90);
        case ThumbnailKind::Necklace:
            return fitted(-2, 70, 70);
        case ThumbnailKind::Clothing:
            return fitted(-2, 70, 80);
    }
    return {};
}

Status renderThumbnail(const QString& path, ThumbnailKind kind, int32_t lipColour, QImage& out) {
    ComponentImage img;
    if (Status st = readComponentFile(path, GridSizing::fromHeader(), img); !st) {
        out = QImage();
        return st;
    }
    if (kind == ThumbnailKind::Lips)
        for (uint32_t& p : img.grid.pixels) p = pixelFromColourValue(lipColour, alphaOf(p));
    const Surface surface = Surface::fromGrid(img.grid);
    QImage picture(areaSize(areaOf(kind)), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    blendOver(picture, thumbnailRect(kind, img.grid.width, img.grid.height), surface, surface.image().rect());
    out = picture;
    return Status::success();
}

}  // namespace ms
