#include "persistence/DesignSlots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "compositor/Composition.h"
#include "imaging/ComponentFile.h"
#include "persistence/DesignRecord.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"

namespace ms {

namespace {

bool isSlotName(const QString& n) {
    static const QRegularExpression re(QStringLiteral("^kelm[1-8]$"));
    return re.match(n).hasMatch();
}

// An empty kind is stored as a transparent component of the kind's size.
PixelGrid orBlank(const PixelGrid& g, int w, int h) { return g.isEmpty() ? PixelGrid(w, h) : g; }

// An empty cut-out picture is stored black: as a mask it removes everything.
QImage orBlack(const QImage& pic) {
    if (!pic.isNull()) return pic;
    QImage black(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

struct SlotFiles {
    QString hair, brows, lips, clothes, photo, cutout, mask, eyeLeft, eyeRight, beard;
};

SlotFiles slotFiles(const StudioState& s) {
    const QString& n = s.designName;
    return {s.path("kelm/faxing" + n + ".tta"),  s.path("kelm/meimao" + n + ".tta"),
            s.path("kelm/zuixing" + n + ".tta"), s.path("kelm/fuzhuang" + n + ".tta"),
            s.path("kelm/" + n + ".bmp"),        s.path("ziyuan/" + n + ".tta"),
            s.path("ziyuan/" + n + "p.tta"),     s.path("kelm/yanjinz" + n + ".tta"),
            s.path("kelm/yanjiny" + n + ".tta"), s.path("kelm/huzi" + n + ".tta")};
}

Status checkComponent(const QString& path, GridSizing sizing) {
    ComponentImage img;
    return readComponentFile(path, sizing, img);
}

QString slotLabel(const QString& designName) { return designName.mid(4); }

}  // namespace

QString designStateFile(const StudioState& s) { return s.path(QStringLiteral("ziyuan/pelvan.ini")); }

Status linshi_bckelm(StudioState& s) {
    if (!isSlotName(s.designName)) return Status::failure(QStringLiteral("没有选择设计位，无法保存。"));
    const SlotFiles f = slotFiles(s);
    const KindGrids& g = s.grids;
    const RecordEntries record = encodeSlot(s);
    for (const Status& st :
         {cTga::Savefaxing(f.hair, orBlank(g.hairstyle, kCanvasWidth, kCanvasHeight)),
          cTga::Savemeimao(f.brows, orBlank(g.eyebrow, 180, 40)),
          cTga::Savezuixing(f.lips, orBlank(g.lips, 100, 50)),
          cTga::Savefuzhuang(f.clothes, orBlank(g.clothing, 400, 190)),
          savePictureBmp(f.cutout, orBlack(s.design.PicRGB)), savePictureBmp(f.mask, orBlack(s.design.PicA))})
        if (!st) return Status::failure(QStringLiteral("保存设计失败：%1").arg(st.message));
    if (Status st = ProfileFile::writeSection(designStateFile(s), s.designName, record); !st)
        return Status::failure(QStringLiteral("保存设计失败：%1").arg(st.message));
    return Status::success();
}

Status linshi_dckelm(StudioState& s) {
    if (!isSlotName(s.designName)) return Status::failure(QStringLiteral("没有选择设计位，无法调出。"));
    const auto entries = ProfileFile::readSection(designStateFile(s), s.designName);
    if (!entries)
        return Status::failure(
            QStringLiteral("第 %1 号设计位还没有保存过设计。").arg(slotLabel(s.designName)));
    const SlotFiles f = slotFiles(s);
    DesignState next = s.design;
    next.faxingname = f.hair;
    next.meimaoxingname = f.brows;
    next.yjzname = f.eyeLeft;
    next.yjyname = f.eyeRight;
    next.huziname = f.beard;
    next.zuixingname = f.lips;
    next.fuzhuangname = f.clothes;
    if (Status st = decodeSlot(*entries, s.P, next); !st) return st;
    for (const Status& st : {checkComponent(f.hair, GridSizing::fromHeader()),
                             checkComponent(f.brows, GridSizing::fixed(180, 40)),
                             checkComponent(f.lips, GridSizing::fixed(100, 50)),
                             checkComponent(f.clothes, GridSizing::fromHeader())})
        if (!st) return Status::failure(QStringLiteral("设计位的文件已损坏，无法调出：%1").arg(st.message));
    for (const QString* accessory :
         {&next.yanjingname, &next.maoziname, &next.erhuanname, &next.xianglianname})
        if (!accessory->isEmpty())
            if (Status st = checkComponent(*accessory, GridSizing::fromHeader()); !st)
                return Status::failure(QStringLiteral("设计中用到的饰品已不在饰品库中：%1").arg(st.message));
    QImage photo, cutout, mask;
    for (const Status& st :
         {loadPicture(f.photo, photo), loadPicture(f.cutout, cutout), loadPicture(f.mask, mask)})
        if (!st) return Status::failure(QStringLiteral("设计位的图片已损坏，无法调出：%1").arg(st.message));
    next.Picbeijing = next.PicMT0 = next.PicMT = photo;
    next.PicRGB = cutout;
    next.PicA = mask;
    s.design = std::move(next);
    Status composed = huaban_hecheng3(s);
    Status recorded = huifu_baochun(s);
    return composed ? recorded : composed;
}

Status gb(StudioState& s) {
    Status result;
    const QString temp = s.path(QStringLiteral("temp"));
    const QFileInfo folder(temp);
    // A temporary folder that is itself a link is not followed.
    if (folder.isDir() && !folder.isSymLink()) {
        const QFileInfoList entries =
            QDir(temp).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& fi : entries) {
            if (fi.isSymLink() || !fi.isFile()) continue;
            if (!QFile::remove(fi.filePath()) && result)
                result = Status::failure(QStringLiteral("无法删除临时文件：%1").arg(fi.fileName()));
        }
    }
    s.surfaces.canvas = QImage();
    for (Surface& k : s.surfaces.kinds) k.clear();
    return result;
}

}  // namespace ms
