#pragma once
#include <QColor>
#include <QPixmap>
#include <QString>

namespace ms {

// The look of a picture that the installation lacks: a plain rounded card with its caption.
struct PlainLook {
    QColor fill;  // transparent: no card
    QColor text;
    QColor border = Qt::transparent;
};

namespace looks {
inline const QColor kInk{61, 53, 48};
inline const QColor kAccent{168, 115, 125};
inline const QColor kAccentLight{241, 228, 228};
inline const QColor kWindow{243, 238, 233};
inline const PlainLook kRest{Qt::transparent, kInk, QColor(214, 204, 196)};
inline const PlainLook kHover{kAccentLight, kInk, kAccent};
inline const PlainLook kActive{kAccent, Qt::white};
}  // namespace looks

// The font of every caption: "Noto Sans CJK SC" at the given pixel size.
QFont captionFont(int pixelSize, bool bold = false);

// Loads P + "/" + rel when it is a picture of the expected size, else draws the plain look.
QPixmap artPicture(const QString& programFolder, const QString& rel, QSize size, const QString& caption,
                   const PlainLook& look);

}  // namespace ms
