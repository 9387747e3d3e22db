#pragma once
#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>

#include "base/Status.h"
#include "compositor/Kind.h"

namespace ms {

// The drawing areas: the component library window's square (67 x 67, two rows of three) and strip
// (100 x 33, three rows of two) areas, and the hairstyle window's 100 x 100 thumbnails.
enum class ThumbnailArea { Square, Strip, Hairstyle };

ThumbnailKind thumbnailKindOf(LibraryKind libraryKind, AccessorySubKind accessorySubKind);
ThumbnailArea areaOf(ThumbnailKind kind);
QSize areaSize(ThumbnailArea area);

// Where a W x H component is drawn inside its thumbnail, in thumbnail pixels (top-down). The
// rectangle may reach outside the thumbnail; drawing clips it.
QRect thumbnailRect(ThumbnailKind kind, int W, int H);

// Reads the component file and draws it, premultiplied and blended source-over at its rectangle,
// into a white picture of the area's size. Lips are drawn in `lipColour` (red in the low byte),
// keeping their alpha. A file that cannot be read leaves `out` null and is reported.
Status renderThumbnail(const QString& path, ThumbnailKind kind, int32_t lipColour, QImage& out);

}  // namespace ms
