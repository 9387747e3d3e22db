#include "retouch/Frmsebiao1.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <tuple>

#include "retouch/ColourPicture.h"

namespace ms {

Frmsebiao1::Frmsebiao1(StudioState& s, QWidget* owner) : QWidget(owner, Qt::Tool), s_(s) {
    setObjectName(QStringLiteral("Frmsebiao1"));
    setWindowTitle(QStringLiteral("调色板"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请在色标卡或调色盘上移动鼠标，满意后按键"), this));
    std::tie(Picture1, Picture2) = addColourPictures(layout, s_.P, this);
    auto* colours = new QGridLayout;
    Label1 = swatch(this, "Label1");
    Label2 = swatch(this, "Label2");
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    colours->addWidget(new QLabel(QStringLiteral("备选色"), this), 0, 0);
    colours->addWidget(Label1, 0, 1);
    colours->addWidget(new QLabel(QStringLiteral("当前色"), this), 1, 0);
    colours->addWidget(Label2, 1, 1);
    colours->addWidget(Label3, 1, 2);
    layout->addLayout(colours);
    for (const auto& [picture, side] :
         {std::pair{Picture1, PalettePicture::Chart}, std::pair{Picture2, PalettePicture::Palette}}) {
        const PalettePicture which = side;
        connect(picture, &ColourPicture::hovered, this, [this](int32_t c) { showColour(Label1, c); });
        connect(picture, &ColourPicture::released, this,
                [this, which](Qt::MouseButton b, std::optional<int32_t> c) { onRelease(which, b, c); });
    }
}

void Frmsebiao1::onRelease(PalettePicture which, Qt::MouseButton b, std::optional<int32_t> colour) {
    if (b != Qt::LeftButton || !colour) return;  // right and middle buttons pick nothing
    const PalettePick pick = paletteRelease(s_, which, *colour);
    if (pick.highlight) {
        emit highlightPicked(*colour, pick.cursor.value_or(toolfiles::CursorId::Brush));
        if (pick.closePalette) close();
        return;
    }
    showColour(Label2, *colour);
    Label3->setText(QString::number(*colour));
    emit lipColourPicked(*colour);
}

void Frmsebiao1::mouseReleaseEvent(QMouseEvent* e) {
    // The pictures take their own releases; one on the window's background closes it.
    QWidget::mouseReleaseEvent(e);
    close();
}

}  // namespace ms
