#include "retouch/ToolCursors.h"

#include <QPixmap>

#include "platform/PictureFile.h"

namespace ms {

QCursor ToolCursors::cursor(toolfiles::CursorId id, Status& reported) {
    const int key = static_cast<int>(id);
    if (const auto it = loaded_.constFind(key); it != loaded_.constEnd()) return *it;
    const toolfiles::CursorArt& art = toolfiles::cursorArt(id);
    const QString file = QString::fromLatin1(art.file);
    QImage icon;
    Status st = loadPicture(P_ + QLatin1Char('/') + file, PicturePurpose::Artwork, icon);
    if (st && (icon.width() > 256 || icon.height() > 256)) st = Status::damaged(QStringLiteral("图标太大。"));
    QCursor c;
    if (st) {
        c = QCursor(QPixmap::fromImage(icon), std::min(art.hotSpot.x(), icon.width() - 1),
                    std::min(art.hotSpot.y(), icon.height() - 1));
    } else {
        c = QCursor(id == toolfiles::CursorId::Locked ? Qt::OpenHandCursor : Qt::CrossCursor);
        reported = Status::failure(
            st.code, QStringLiteral("光标文件 %1 无法读取，改用标准光标：%2").arg(file, st.message));
    }
    loaded_.insert(key, c);
    return c;
}

}  // namespace ms
