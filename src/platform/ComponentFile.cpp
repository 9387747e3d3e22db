#include "platform/ComponentFile.h"

#include <QFileInfo>

#include "platform/SafeFile.h"

namespace ms {

namespace {

QString shownName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

Status readComponentFile(const QString& path, GridSizing sizing, ComponentImage& out) {
    QByteArray bytes;
    if (Status st = readRegularFile(path, kMaxComponentBytes, bytes); !st)
        return Status{st.code, QStringLiteral("无法读取部件文件 %1：%2").arg(shownName(path), st.message)};
    return parseComponentBytes(bytes, sizing, out, shownName(path));
}

Status writeComponentFile(const QString& path, const PixelGrid& grid, uint8_t imageType) {
    if (grid.width <= 0 || grid.height <= 0)
        return Status::refused(QStringLiteral("没有可保存的部件图像：%1").arg(shownName(path)));
    return replaceFile(path, encodeComponent(grid, imageType));
}

}  // namespace ms
