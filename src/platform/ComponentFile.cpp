#include "platform/ComponentFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace ms {

namespace {

QString shownName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

Status readComponentFile(const QString& path, GridSizing sizing, ComponentImage& out) {
    QFile f(path);
    if (!QFileInfo::exists(path))
        return Status::notFound(QStringLiteral("无法打开部件文件：%1").arg(shownName(path)));
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return Status::damaged(QStringLiteral("无法打开部件文件：%1").arg(shownName(path)));
    // Read no more than the largest grid can use, so a huge file costs nothing extra.
    const QByteArray bytes =
        f.read(std::min<qint64>(f.size() > 0 ? f.size() : kMaxComponentBytes, kMaxComponentBytes));
    return parseComponentBytes(bytes, sizing, out, shownName(path));
}

Status writeComponentFile(const QString& path, const PixelGrid& grid, uint8_t imageType) {
    if (grid.width <= 0 || grid.height <= 0)
        return Status::refused(QStringLiteral("没有可保存的部件图像：%1").arg(shownName(path)));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return Status::writeFailed(QStringLiteral("无法写入部件文件：%1").arg(path));
    const QByteArray bytes = encodeComponent(grid, imageType);
    if (f.write(bytes) != bytes.size() || !f.commit())
        return Status::writeFailed(QStringLiteral("写入部件文件失败（磁盘已满或不可写）：%1").arg(path));
    return Status::success();
}

}  // namespace ms
