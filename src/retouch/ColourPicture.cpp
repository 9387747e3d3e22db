#include "retouch/ColourPicture.h"

#include <QBoxLayout>
#include <QMouseEvent>

#include "compositor/ToolFiles.h"
#include "platform/PictureFile.h"
#include "retouch/MakeupTools.h"

namespace ms {

ColourPicture::ColourPicture(const QImage& picture, QSize size, QWidget* parent)
    : QLabel(parent), picture_(picture) {
    setFixedSize(size);
    setMouseTracking(true);
    if (picture_.isNull()) {
        // Without its picture the control stays an empty frame and picks nothing.
        setFrameStyle(QFrame::Box | QFrame::Plain);
    } else {
        setPixmap(QPixmap::fromImage(picture_));
    }
}

void ColourPicture::mouseMoveEvent(QMouseEvent* e) {
    if (const auto c = colourAt(picture_, e->position().toPoint())) emit hovered(*c);
    QLabel::mouseMoveEvent(e);
}

void ColourPicture::mouseReleaseEvent(QMouseEvent* e) {
    emit released(e->button(), colourAt(picture_, e->position().toPoint()));
}

QImage colourPicture(const QString& P, const char* file, QSize size) {
    QImage picture;
    if (!loadPicture(P + QLatin1Char('/') + QLatin1String(file), PicturePurpose::Artwork, picture) ||
        picture.size() != size)
        return {};
    return picture;
}

std::pair<ColourPicture*, ColourPicture*> addColourPictures(QBoxLayout* layout, const QString& P,
                                                            QWidget* parent) {
    const auto add = [&](const char16_t* caption, const char* name, const char* file, QSize size) {
        layout->addWidget(new QLabel(QString::fromUtf16(caption), parent));
        auto* picture = new ColourPicture(colourPicture(P, file, size), size, parent);
        picture->setObjectName(QLatin1String(name));
        layout->addWidget(picture);
        return picture;
    };
    return {add(u"色标卡", "Picture1", toolfiles::kColourChart, toolfiles::kColourChartSize),
            add(u"调色盘", "Picture2", toolfiles::kColourPalette, toolfiles::kColourPaletteSize)};
}

QLabel* swatch(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFixedSize(48, 22);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    return l;
}

void showColour(QLabel* swatch, int32_t colour) {
    swatch->setAutoFillBackground(true);
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF));
    swatch->setPalette(p);
}

}  // namespace ms
