#include "platform/PictureFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace ms {

Status loadPicture(const QString& path, QImage& out) {
    if (!QFileInfo(path).isFile())
        return Status::notFound(QStringLiteral("找不到图片文件：%1").arg(QFileInfo(path).fileName()));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // Portraits are small; a header claiming a huge picture is refused before decoding.
    reader.setAllocationLimit(256);
    QImage img = reader.read();
    if (img.isNull())
        return Status::damaged(
            QStringLiteral("图片文件无法读取或已损坏：%1").arg(QFileInfo(path).fileName()));
    out = img.convertToFormat(QImage::Format_RGB32);
    return Status::success();
}

Status savePictureBmp(const QString& path, const QImage& picture) {
    if (picture.isNull()) return Status::refused(QStringLiteral("没有可保存的图片：%1").arg(path));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return Status::writeFailed(QStringLiteral("无法写入图片文件：%1").arg(path));
    QImageWriter writer(&f, "BMP");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)) || !f.commit())
        return Status::writeFailed(QStringLiteral("保存图片失败（磁盘已满或不可写）：%1").arg(path));
    return Status::success();
}

}  // namespace ms
