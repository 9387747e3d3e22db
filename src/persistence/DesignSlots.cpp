#include "persistence/DesignSlots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "persistence/DesignRecord.h"
#include "persistence/History.h"
#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"

namespace ms {

namespace {

bool isSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }

// An empty cut-out picture is stored black: as a mask it removes everything.
QImage orBlack(const QImage& pic) {
    if (!pic.isNull()) return pic;
    QImage black(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

// The companion files of a slot record besides the grid files of the kinds.
struct SlotFiles {
    QString photo, cutout, mask, eyeLeft, eyeRight, beard;
};

SlotFiles slotFiles(const StudioState& s, int slot) {
    const QString n = slotDesignName(slot);
    return {s.path("kelm/" + n + ".bmp"),        s.path("ziyuan/" + n + ".tta"),
            s.path("ziyuan/" + n + "p.tta"),     s.path("kelm/yanjinz" + n + ".tta"),
            s.path("kelm/yanjiny" + n + ".tta"), s.path("kelm/huzi" + n + ".tta")};
}

// The kinds whose prepared grid a slot keeps in a file of its own: "kelm/<key>kelm<i>.tta".
std::vector<Kind> gridKinds() {
    std::vector<Kind> out;
    for (Kind k : componentKinds())
        if (kindInfo(k).keepsGrid()) out.push_back(k);
    return out;
}

QString gridFile(const StudioState& s, Kind k, int slot) {
    return s.path(QStringLiteral("kelm/%1%2.tta").arg(kindInfo(k).folder(), slotDesignName(slot)));
}

Status checkComponent(const QString& path, GridSizing sizing) {
    ComponentImage img;
    return readComponentFile(path, sizing, img);
}

}  // namespace

QString designStateFile(const StudioState& s) { return s.path(QStringLiteral("ziyuan/pelvan.ini")); }

QString slotDesignName(int slot) { return QStringLiteral("kelm%1").arg(slot); }

Status linshi_bckelm(StudioState& s, int slot) {
    if (!isSlot(slot)) return Status::refused(QStringLiteral("没有选择设计位，无法保存。"));
    const SlotFiles f = slotFiles(s, slot);
    const RecordEntries record = encodeSlot(s.doc.design);
    const QString failed = QStringLiteral("保存设计失败：");
    // An empty kind is stored as a transparent component of the kind's size.
    for (Kind k : gridKinds()) {
        const KindInfo& info = kindInfo(k);
        const PixelGrid& g = s.doc.grids.*info.grid;
        const PixelGrid stored = g.isEmpty() ? PixelGrid(info.size.width(), info.size.height()) : g;
        if (Status st = writeComponentFile(gridFile(s, k, slot), stored, info.imageType); !st)
            return st.prefixed(failed);
    }
    for (const Status& st : {savePictureBmp(f.cutout, orBlack(s.doc.design.PicRGB)),
                             savePictureBmp(f.mask, orBlack(s.doc.design.PicA))})
        if (!st) return st.prefixed(failed);
    return ProfileFile::writeSection(designStateFile(s), slotDesignName(slot), record).prefixed(failed);
}

Status linshi_dckelm(StudioState& s, int slot) {
    if (!isSlot(slot)) return Status::refused(QStringLiteral("没有选择设计位，无法调出。"));
    ProfileFile::Entries entries;
    if (Status st = ProfileFile::loadSection(designStateFile(s), slotDesignName(slot), entries); !st) {
        if (st.code == StatusCode::NotFound)
            return Status::notFound(QStringLiteral("第 %1 号设计位还没有保存过设计。").arg(slot));
        return st.prefixed(QStringLiteral("第 %1 号设计位的记录无法读取：").arg(slot));
    }
    const SlotFiles f = slotFiles(s, slot);
    DesignState next = s.doc.design;
    for (Kind k : gridKinds()) next.*kindInfo(k).file = gridFile(s, k, slot);
    next.yjzname = f.eyeLeft;
    next.yjyname = f.eyeRight;
    next.huziname = f.beard;
    // An accessory that is no longer in its library (or never was) leaves its layer empty.
    QStringList emptied;
    if (Status st = decodeSlot(entries, s.P, next, emptied); !st) return st;
    for (Kind k : gridKinds())
        if (Status st = checkComponent(gridFile(s, k, slot), kindInfo(k).sizing()); !st)
            return Status::damaged(QStringLiteral("设计位的文件已损坏，无法调出：%1").arg(st.message));
    for (Kind k : componentKinds()) {
        QString& accessory = next.*kindInfo(k).file;
        if (kindInfo(k).keepsGrid() || accessory.isEmpty()) continue;
        if (Status st = checkComponent(accessory, kindInfo(k).sizing()); !st) {
            emptied << QStringLiteral("设计中的%1已损坏，这一层留空：%2")
                           .arg(kindInfo(k).displayName(), st.message);
            accessory.clear();
        }
    }
    QImage photo, cutout, mask;
    for (const Status& st : {loadPicture(f.photo, PicturePurpose::Canvas, photo),
                             loadPicture(f.cutout, PicturePurpose::Canvas, cutout),
                             loadPicture(f.mask, PicturePurpose::Canvas, mask)})
        if (!st) return Status::damaged(QStringLiteral("设计位的图片已损坏，无法调出：%1").arg(st.message));
    next.Picbeijing = next.PicMT0 = next.PicMT = photo;
    next.PicRGB = cutout;
    next.PicA = mask;
    s.doc.design = std::move(next);
    Problems problems;
    if (!emptied.isEmpty()) problems.add(Status::partial(emptied.join(QLatin1Char('\n'))));
    problems.add(huaban_hecheng3(s));
    problems.add(huifu_baochun(s));
    return problems.status();
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
                result = Status::writeFailed(QStringLiteral("无法删除临时文件：%1").arg(fi.fileName()));
        }
    }
    s.doc.surfaces.canvas = QImage();
    for (Surface& k : s.doc.surfaces.kinds) k.clear();
    return result;
}

}  // namespace ms
