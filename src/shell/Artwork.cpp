#include "shell/Artwork.h"

#include <QImage>
#include <QPainter>

#include "platform/PictureFile.h"

namespace ms {

QFont captionFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QPixmap artPicture(const QString& programFolder, const QString& rel, QSize size, const QString& caption,
                   const PlainLook& look) {
    // A missing or unreadable picture gets the plain look drawn here.
    QImage stored;
    if (loadPicture(programFolder + QLatin1Char('/') + rel, PicturePurpose::Artwork, stored) &&
        stored.size() == size)
        return QPixmap::fromImage(stored);
    QPixmap plain(size);
    plain.fill(Qt::transparent);
    QPainter p(&plain);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(look.border.alpha() ? QPen(look.border, 1) : Qt::NoPen);
    p.setBrush(look.fill);
    p.drawRoundedRect(QRectF(plain.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setPen(look.text);
    p.setFont(captionFont(size.height() >= 40 ? 15 : 12));
    p.drawText(plain.rect(), Qt::AlignCenter | Qt::TextWordWrap, caption);
    return plain;
}

}  // namespace ms
