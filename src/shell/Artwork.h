#pragma once
#include <QColor>
#include <QPixmap>
#include <QString>

#include "platform/Theme.h"

namespace ms {

// The look of a picture that the installation lacks: a plain rounded card with its caption.
struct PlainLook {
    QColor fill;  // transparent: no card
    QColor text;
    QColor border = Qt::transparent;
};

namespace looks {
using theme::kAccent;
using theme::kAccentLight;
using theme::kInk;
using theme::kWindow;
inline const PlainLook kRest{Qt::transparent, kInk, theme::kLine};
inline const PlainLook kHover{kAccentLight, kInk, kAccent};
inline const PlainLook kActive{kAccent, Qt::white};
}  // namespace looks

// The font of every caption: "Noto Sans CJK SC" at the given pixel size.
QFont captionFont(int pixelSize, bool bold = false);

// Loads P + "/" + rel when it is a picture of the expected size, else draws the plain look.
QPixmap artPicture(const QString& programFolder, const QString& rel, QSize size, const QString& caption,
                   const PlainLook& look);

}  // namespace ms
