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
    switch (purpose) {
        case PicturePurpose::Canvas:
            return kCanvas;
        case PicturePurpose::SlotPreview:
            return kSlotPreview;
        case PicturePurpose::Card:
            return kCard;
        case PicturePurpose::Artwork:
            return kArtwork;
    }
    return kCanvas;
}

Status loadPicture(const QString& path, PicturePurpose purpose, QImage& out) {
    const PictureLimit& limit = pictureLimit(purpose);
    const QString name = QFileInfo(path).fileName();
    // A stored picture is at most its pixels uncompressed plus its headers.
    const qint64 maxBytes = qint64{limit.maxWidth} * limit.maxHeight * 4 + 1024 * 1024;
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

}  // namespace ms
