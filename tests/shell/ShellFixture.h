#pragma once
#include <QFile>
#include <QPainter>

#include "platform/PictureFile.h"
#include "support/Fixtures.h"

namespace ms::test {

// Four flat quadrants, so a magnified picture can be checked away from the edges.
inline QImage quadrantPortrait() {
    QImage img(380, 480, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, 190, 240, QColor(200, 40, 40));
    p.fillRect(190, 0, 190, 240, QColor(40, 200, 40));
    p.fillRect(0, 240, 190, 240, QColor(40, 40, 200));
    p.fillRect(190, 240, 190, 240, QColor(220, 220, 60));
    return img;
}

// A program folder with the sample portrait, an empty "000" default of every kind, three opaque
// hairstyles dz001 .. dz003 and the slot pictures of the slots in `slotsWithPicture`.
class ShellFolder : public ProgramFolder {
  public:
    explicit ShellFolder(std::initializer_list<int> slotsWithPicture = {1, 2, 3, 4, 5, 6, 7, 8}) {
        EXPECT_TRUE(savePictureBmp(file("ziyuan/huaban.bmp"), quadrantPortrait()));
        for (ms::Kind k : componentKinds()) {
            const KindInfo& info = kindInfo(k);
            component(info.folder() + "/000.tta", info.size.width(), info.size.height(), 0u);
        }
        for (int i = 1; i <= 3; ++i) component(QString("faxing/dz00%1.tta").arg(i), 380, 480, hairColour(i));
        for (int i : slotsWithPicture)
            EXPECT_TRUE(savePictureBmp(file(QString("kelm/kelmx%1.bmp").arg(i)),
                                       solidPicture(380, 480, QColor(10 * i, 90, 90))));
    }
    static uint32_t hairColour(int i) { return 0xFF000000u | (0x30u * i) << 16 | 0x2010u; }
    void touch(const QString& rel) const {
        QFile f(file(rel));
        f.open(QIODevice::WriteOnly);
        f.write("x");
    }
};

}  // namespace ms::test
