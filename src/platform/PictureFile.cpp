#include "platform/PictureFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include "imaging/PictureBytes.h"
#include "platform/SafeFile.h"

namespace ms {

const PictureLimit& pictureLimit(PicturePurpose purpose) {
    static const PictureLimit kCanvas{2048, 2048, {}, true};
    static const PictureLimit kSlotPreview{2048, 2048, {103, 130}, true};
    static const PictureLimit kCard{1024, 1024, {}, true};
    static const PictureLimit kArtwork{2048, 2048, {}, false};
    // Cameras and phones give up to about 50 megapixels; a header claiming more is not a photo.
    static const PictureLimit kPhoto{16384, 16384, {}, true, {760, 960}, 64'000'000, true};
    static const PictureLimit kPreview{16384, 16384, {}, true, {94, 119}, 64'000'000, true};
    switch (purpose) {
        case PicturePurpose::Canvas:
            return kCanvas;
        case PicturePurpose::SlotPreview:
            return kSlotPreview;
        case PicturePurpose::Card:
            return kCard;
        case PicturePurpose::Artwork:
            return kArtwork;
        case PicturePurpose::Photo:
            return kPhoto;
        case PicturePurpose::Preview:
            return kPreview;
    }
    return kCanvas;
}

Status loadPicture(const QString& path, PicturePurpose purpose, QImage& out) {
    const PictureLimit& limit = pictureLimit(purpose);
    const QString name = QFileInfo(path).fileName();
    // A stored picture is at most its pixels uncompressed plus its headers.
    const qint64 pixels = limit.maxPixels ? limit.maxPixels : qint64{limit.maxWidth} * limit.maxHeight;
    const qint64 maxBytes = pixels * 4 + 1024 * 1024;
    QByteArray bytes;
    if (Status st = readRegularFile(path, maxBytes, bytes); !st)
        return Status{st.code, QStringLiteral("图片文件无法读取：%1（%2）").arg(name, st.message)};
    return decodePicture(bytes, purpose, name, out);
}

Status decodePicture(const QByteArray& bytes, PicturePurpose purpose, const QString& name, QImage& out) {
    const PictureLimit& limit = pictureLimit(purpose);
    QByteArray data = bytes;  // QBuffer wants a non-const array; the copy shares the bytes
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize claimed = reader.size();
    if (!claimed.isValid()) return Status::damaged(QStringLiteral("图片文件无法读取或已损坏：%1").arg(name));
    if (claimed.width() > limit.maxWidth || claimed.height() > limit.maxHeight)
        return Status::damaged(QStringLiteral("图片太大（%1 x %2），不予读取：%3")
                                   .arg(claimed.width())
                                   .arg(claimed.height())
                                   .arg(name));
    if (!pictureIsComplete(bytes))
        return Status::damaged(QStringLiteral("图片文件不完整（已损坏）：%1").arg(name));
    if (!limit.readSize.isEmpty()) reader.setScaledSize(limit.readSize);
    reader.setAutoTransform(limit.upright);
    if (!limit.fitInside.isEmpty()) {
        // The tag may turn the picture a quarter: fit what will be upright.
        const bool turned =
            limit.upright && (reader.transformation() & QImageIOHandler::TransformationRotate90);
        const QSize box = turned ? limit.fitInside.transposed() : limit.fitInside;
        if (claimed.width() > box.width() || claimed.height() > box.height())
            reader.setScaledSize(claimed.scaled(box, Qt::KeepAspectRatio));
    }
    const QImage img = reader.read();
    if (img.isNull()) return Status::damaged(QStringLiteral("图片文件无法读取或已损坏：%1").arg(name));
    out = img.convertToFormat(limit.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    return Status::success();
}

Status savePictureBmp(const QString& path, const QImage& picture) {
    if (picture.isNull()) return Status::refused(QStringLiteral("没有可保存的图片：%1").arg(path));
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    return replaceFile(path, [&rgb](QIODevice& d) { return QImageWriter(&d, "BMP").write(rgb); });
}

Status savePicture(const QString& path, const QImage& picture) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp")) return savePictureBmp(path, picture);
    const char* format = suffix == QLatin1String("png")                                      ? "PNG"
                         : suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ? "JPG"
                                                                                             : nullptr;
    if (!format)
        return Status::refused(QStringLiteral("不支持这种图片格式：%1（可以保存为 BMP、PNG 或 JPEG）")
                                   .arg(QFileInfo(path).fileName()));
    if (picture.isNull()) return Status::refused(QStringLiteral("没有可保存的图片：%1").arg(path));
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    return replaceFile(path, [&](QIODevice& d) {
        QImageWriter w(&d, format);
        if (qstrcmp(format, "JPG") == 0) w.setQuality(92);  // sent to a client's phone: sharp, still small
        return w.write(rgb);
    });
}

}  // namespace ms
