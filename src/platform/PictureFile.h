#pragma once
#include <QImage>
#include <QSize>
#include <QString>

#include "base/Status.h"

namespace ms {

// What a picture is read for. Each purpose caps the size a file may claim before anything is
// decoded, and some are read at the size they are shown, so that no picture file can make the
// studio hold more than its purpose needs.
enum class PicturePurpose {
    Canvas,       // the sample portrait and a slot's photo and cut-out pictures: 380 x 480
    SlotPreview,  // a slot's canvas picture, read at the size of its preview (103 x 130)
    Card,         // a hairstyle's information picture (150 x 200)
    Artwork,      // the windows' own pictures
    Photo,        // a client's photo, taken in as a working copy that fits inside 760 x 960
    Preview,      // a photo shown in the open-picture dialog's small preview
};

struct PictureLimit {
    int maxWidth, maxHeight;  // the largest picture the file may claim
    QSize readSize;           // read at this size; empty: at its own size
    bool opaque;              // read as RGB32; otherwise its transparency is kept (premultiplied ARGB32)
    QSize fitInside = {};     // a larger picture is read scaled down to fit inside, keeping its shape
    qint64 maxPixels = 0;     // the most pixels the file may claim; 0: maxWidth x maxHeight
    bool upright = false;     // turned as its camera's orientation tag says
};
const PictureLimit& pictureLimit(PicturePurpose purpose);

// Loads a bitmap, JPEG or PNG picture, as RGB32 or, for purposes that keep transparency, as
// premultiplied ARGB32. A missing file (NotFound), one that is not a
// regular file, claims more than its purpose allows, is cut short or does not decode (Damaged)
// leaves `out` as it was.
Status loadPicture(const QString& path, PicturePurpose purpose, QImage& out);

// The same for the bytes of a picture file; `name` is the file name the messages show.
Status decodePicture(const QByteArray& bytes, PicturePurpose purpose, const QString& name, QImage& out);

// Saves a picture as a 24-bit bitmap, replacing the file atomically.
Status savePictureBmp(const QString& path, const QImage& picture);

// Saves a picture in the format its file name's extension names (.bmp, .png, .jpg, .jpeg; letter
// case ignored), replacing the file atomically. Any other extension is refused.
Status savePicture(const QString& path, const QImage& picture);

}  // namespace ms
