#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>

#include "HairVariants.h"
#include "InstallData.h"

// Hairstyle info cards (faxing1/*.BMP), 150 x 200: the sample portrait wearing the style above a
// caption band with the category and the style's name.
namespace installdata {

namespace {

constexpr int kCardW = 150, kCardH = 200, kCaptionH = 30;
// The part of the portrait a card shows: the head with room for buns, volume and long ends.
const QRect kHeadCrop(30, 8, 320, 363);

void drawCaption(QPainter& p, const HairVariant& v) {
    const QRectF band(0, kCardH - kCaptionH, kCardW, kCaptionH);
    QLinearGradient g(band.topLeft(), band.bottomLeft());
    g.setColorAt(0.0, QColor(252, 248, 246));
    g.setColorAt(1.0, QColor(238, 230, 228));
    p.fillRect(band, g);
    p.fillRect(QRectF(0, band.top(), kCardW, 1.5), QColor(196, 120, 132));
    const QString text =
        hairCategoryName(QString::fromLatin1(v.code)) + QStringLiteral(" · ") + QString::fromUtf8(v.title);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(12);
    font.setHintingPreference(QFont::PreferFullHinting);
    while (QFontMetricsF(font).horizontalAdvance(text) > kCardW - 8 && font.pixelSize() > 9)
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(QColor(70, 44, 50));
    p.drawText(band.adjusted(4, 1, -4, 0), Qt::AlignCenter, text);
}

}  // namespace

QImage renderHairCard(const QImage& portrait, const QImage& hair, const HairVariant& v) {
    QImage look = portrait.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter q(&look);
        q.drawImage(0, 0, hair);
    }
    QImage card(kCardW, kCardH, QImage::Format_ARGB32_Premultiplied);
    card.fill(QColor(250, 246, 244));
    QPainter p;
    beginPainter(p, card);
    const QImage head = look.copy(kHeadCrop).scaled(kCardW, kCardH - kCaptionH, Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation);
    p.drawImage(0, 0, head);
    drawCaption(p, v);
    p.setPen(QPen(QColor(180, 160, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kCardW - 1, kCardH - 1));
    p.end();
    return card.convertToFormat(QImage::Format_RGB888);
}

}  // namespace installdata
