#include "persistence/DesignSlots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <array>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "persistence/DesignRecord.h"
#include "persistence/History.h"
#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"

namespace ms {

namespace {

bool isSlot(int slot) { return slot >= 1 && slot <= kSlotCount; }

// A design state file is small; anything far larger is not one and is not read whole.
constexpr qint64 kMaxRecordBytes = 4 * 1024 * 1024;

void putLE(QByteArray& out, qsizetype at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// A 24-bit bottom-up bitmap of the picture, over black where it is not opaque. Encoded row by row
// rather than through a whole-picture conversion: Qt converts large pictures on its thread pool,
// which cannot be used in a forked process (the kill tests store from one).
QByteArray bmpBytes(const QImage& picture) {
    QImage src = picture;
    const QImage::Format f = src.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        src = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const bool straight = src.format() == QImage::Format_ARGB32;
    const int w = src.width(), h = src.height();
    constexpr int kHeaderBytes = 14 + 40;
    const qsizetype rowBytes = (qsizetype{w} * 3 + 3) & ~qsizetype{3};
    const qsizetype imageBytes = rowBytes * h;
    QByteArray out(kHeaderBytes + imageBytes, '\0');
    out[0] = 'B';
    out[1] = 'M';
    putLE(out, 2, static_cast<uint32_t>(out.size()), 4);
    putLE(out, 10, kHeaderBytes, 4);
    putLE(out, 14, 40, 4);
    putLE(out, 18, static_cast<uint32_t>(w), 4);
    putLE(out, 22, static_cast<uint32_t>(h), 4);
    putLE(out, 26, 1, 2);   // planes
    putLE(out, 28, 24, 2);  // bits per pixel; compression 0
    putLE(out, 34, static_cast<uint32_t>(imageBytes), 4);
    putLE(out, 38, static_cast<uint32_t>(std::max(0, src.dotsPerMeterX())), 4);
    putLE(out, 42, static_cast<uint32_t>(std::max(0, src.dotsPerMeterY())), 4);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(h - 1 - y));
        char* row = out.data() + kHeaderBytes + rowBytes * y;
        for (int x = 0; x < w; ++x) {
            const QRgb p = straight ? qPremultiply(line[x]) : line[x];
            row[3 * x] = static_cast<char>(qBlue(p));
            row[3 * x + 1] = static_cast<char>(qGreen(p));
            row[3 * x + 2] = static_cast<char>(qRed(p));
        }
    }
    return out;
}

QString inFolder(const QString& programFolder, const QString& relative) {
    return programFolder + QLatin1Char('/') + relative;
}

// The companion files of a slot record besides the grid files of the kinds.
struct SlotFiles {
    QString photo, canvas, cutout, mask, eyeLeft, eyeRight, beard;
};

SlotFiles slotFiles(const QString& p, int slot) {
    const QString n = slotDesignName(slot);
    return {
        inFolder(p, "kelm/" + n + ".bmp"),        inFolder(p, "kelm/kelmx" + QString::number(slot) + ".bmp"),
        inFolder(p, "ziyuan/" + n + ".tta"),      inFolder(p, "ziyuan/" + n + "p.tta"),
        inFolder(p, "kelm/yanjinz" + n + ".tta"), inFolder(p, "kelm/yanjiny" + n + ".tta"),
        inFolder(p, "kelm/huzi" + n + ".tta")};
}

// The kinds whose prepared grid a slot keeps in a file of its own: "kelm/<key>kelm<i>.tta".
std::vector<Kind> gridKinds() {
    std::vector<Kind> out;
    for (Kind k : componentKinds())
        if (kindInfo(k).keepsGrid()) out.push_back(k);
    return out;
}

QString gridFile(const QString& programFolder, Kind k, int slot) {
    return inFolder(programFolder,
                    QStringLiteral("kelm/%1%2.tta").arg(kindInfo(k).folder(), slotDesignName(slot)));
}

QString recordFile(const QString& programFolder) { return inFolder(programFolder, "ziyuan/pelvan.ini"); }

// The files a store replaces, in the order they are put in place: the record last.
QStringList storedFiles(const QString& programFolder, int slot) {
    QStringList out;
    for (Kind k : gridKinds()) out << gridFile(programFolder, k, slot);
    const SlotFiles f = slotFiles(programFolder, slot);
    out << f.cutout << f.mask << f.photo << f.canvas << recordFile(programFolder);
    return out;
}

// Named per slot, so that the design state file, which every slot replaces, has one per slot.
QString temporaryOf(const QString& target, int slot) {
    return target + QLatin1Char('.') + slotDesignName(slot) + QStringLiteral(".new");
}

std::vector<StagedPair> slotPairs(const QString& programFolder, int slot) {
    std::vector<StagedPair> out;
    for (const QString& target : storedFiles(programFolder, slot))
        out.push_back({temporaryOf(target, slot), target});
    return out;
}

Status checkComponent(const QString& path, GridSizing sizing) {
    ComponentImage img;
    return readComponentFile(path, sizing, img);
}

// Settles every slot's interrupted store; `unsettled` marks the slots whose journal stays. A slot
// whose store can be neither completed nor undone loses its photo, so that it restores nothing and
// says so instead of restoring a mix; the next store gives it a whole design again.
Status settleJournals(const QString& programFolder, std::array<bool, kSlotCount + 1>& unsettled) {
    Problems problems;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        Status st = recoverJournal(slotJournalFile(programFolder, slot), programFolder,
                                   slotPairs(programFolder, slot));
        if (st.code == StatusCode::Damaged) {
            if (!removeFileOrLink(slotFiles(programFolder, slot).photo))
                st.message += QStringLiteral("\n无法删除设计位的照片。");
            st.message += QStringLiteral("\n这个设计位需要重新保存。");
        }
        unsettled[slot] = !st && st.code != StatusCode::Damaged;
        problems.add(st.prefixed(QStringLiteral("第 %1 号设计位上一次的保存没有完成：").arg(slot)));
    }
    return problems.status();
}

// Whether `name` in `folder` (of the program folder) is a leftover of a store or of an atomic write
// of a slot file. The temporaries of unsettled slots are kept: their journal still needs them.
class Leftovers {
  public:
    Leftovers(const QString& programFolder, const std::array<bool, kSlotCount + 1>& unsettled) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            addWritten(slotJournalFile(programFolder, slot));
            for (const StagedPair& p : slotPairs(programFolder, slot)) {
                addWritten(p.target);
                addWritten(p.temporary);
                if (!unsettled[slot]) temporaries_.insert(p.temporary);
            }
        }
    }
    bool contains(const QString& path) const {
        if (temporaries_.contains(path)) return true;
        const QString target = path.chopped(std::min<qsizetype>(path.size(), 7));
        return written_.contains(target) &&
               isAtomicWriteLeftover(QFileInfo(path).fileName(), QFileInfo(target).fileName());
    }

  private:
    void addWritten(const QString& path) { written_.insert(path); }
    QSet<QString> temporaries_, written_;
};

Status removeLeftovers(const QString& programFolder, const std::array<bool, kSlotCount + 1>& unsettled) {
    const Leftovers leftovers(programFolder, unsettled);
    Problems problems;
    for (const char* sub : {"kelm", "ziyuan"}) {
        const QString folder = inFolder(programFolder, QString::fromLatin1(sub));
        const QStringList names =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            const QString path = folder + QLatin1Char('/') + name;
            if (!leftovers.contains(path)) continue;
            const QFileInfo fi(path);
            if (!fi.isSymLink() && !fi.isFile()) continue;  // a folder or a device is nobody's temporary
            if (!removeFileOrLink(path))
                problems.add(Status::writeFailed(
                    QStringLiteral("无法删除设计位的临时文件：%1").arg(QDir::toNativeSeparators(path))));
        }
    }
    return problems.status();
}

}  // namespace

QString designStateFile(const StudioState& s) { return recordFile(s.P); }

QString slotDesignName(int slot) { return QStringLiteral("kelm%1").arg(slot); }

QString slotJournalFile(const QString& programFolder, int slot) {
    return inFolder(programFolder, QStringLiteral("kelm/%1.journal").arg(slotDesignName(slot)));
}

Status encodeSlotStore(const StudioState& s, int slot, std::vector<StagedFile>& out) {
    if (!isSlot(slot)) return Status::refused(QStringLiteral("没有选择设计位，无法保存。"));
    const DesignState& d = s.doc.design;
    const QImage& canvas = s.session.views.Pichuaban;
    if (d.PicMT.isNull() || canvas.isNull())
        return Status::refused(QStringLiteral("画板上没有照片，无法保存设计。"));
    // The record first: values that would not read back refuse the store before any encoding.
    QByteArray current, record;
    if (Status st = readRegularFile(designStateFile(s), kMaxRecordBytes, current);
        !st && st.code != StatusCode::NotFound)
        return st.prefixed(QStringLiteral("设计记录文件无法读取，原来的记录保持不变："));
    if (Status st = ProfileFile::withSection(current, slotDesignName(slot), encodeSlot(d), record); !st)
        return st;
    std::vector<StagedFile> files;
    auto add = [&files, slot](const QString& target, QByteArray content) {
        files.push_back({target, temporaryOf(target, slot), std::move(content)});
    };
    // An empty kind is stored as a transparent component of the kind's size.
    for (Kind k : gridKinds()) {
        const KindInfo& info = kindInfo(k);
        const PixelGrid& g = s.doc.grids.*info.grid;
        const PixelGrid stored = g.isEmpty() ? PixelGrid(info.size.width(), info.size.height()) : g;
        add(gridFile(s.P, k, slot), encodeComponent(stored, info.imageType));
    }
    const SlotFiles f = slotFiles(s.P, slot);
    add(f.cutout, bmpBytes(cutoutOrBlack(d.PicRGB)));
    add(f.mask, bmpBytes(cutoutOrBlack(d.PicA)));
    add(f.photo, bmpBytes(d.PicMT));
    add(f.canvas, bmpBytes(canvas));
    add(designStateFile(s), std::move(record));
    out = std::move(files);
    return Status::success();
}

Status linshi_bckelm(StudioState& s, int slot) {
    if (!isSlot(slot)) return Status::refused(QStringLiteral("没有选择设计位，无法保存。"));
    const QString failed = QStringLiteral("保存设计失败：");
    // Another store's journal would otherwise be completed later over this one's design state file.
    std::array<bool, kSlotCount + 1> unsettled{};
    if (Status st = settleJournals(s.P, unsettled);
        std::find(unsettled.begin(), unsettled.end(), true) != unsettled.end())
        return st.prefixed(failed);
    std::vector<StagedFile> files;
    if (Status st = encodeSlotStore(s, slot, files); !st) return st.prefixed(failed);
    return replaceTogether(slotJournalFile(s.P, slot), s.P, files).prefixed(failed);
}

Status recoverSlotStores(const QString& programFolder) {
    std::array<bool, kSlotCount + 1> unsettled{};
    Problems problems;
    problems.add(settleJournals(programFolder, unsettled));
    problems.add(removeLeftovers(programFolder, unsettled));
    return problems.status();
}

Status linshi_dckelm(StudioState& s, int slot) {
    if (!isSlot(slot)) return Status::refused(QStringLiteral("没有选择设计位，无法调出。"));
    // A store that was interrupted is completed or undone first; until then the slot is neither.
    std::array<bool, kSlotCount + 1> unsettled{};
    if (Status st = settleJournals(s.P, unsettled); unsettled[slot])
        return Status::damaged(QStringLiteral("无法调出设计：") + st.message);
    ProfileFile::Entries entries;
    if (Status st = ProfileFile::loadSection(designStateFile(s), slotDesignName(slot), entries); !st) {
        if (st.code == StatusCode::NotFound)
            return Status::notFound(QStringLiteral("第 %1 号设计位还没有保存过设计。").arg(slot));
        return st.prefixed(QStringLiteral("第 %1 号设计位的记录无法读取：").arg(slot));
    }
    const SlotFiles f = slotFiles(s.P, slot);
    DesignState next = s.doc.design;
    for (Kind k : gridKinds()) next.*kindInfo(k).file = gridFile(s.P, k, slot);
    next.yjzname = f.eyeLeft;
    next.yjyname = f.eyeRight;
    next.huziname = f.beard;
    // An accessory that is no longer in its library (or never was) leaves its layer empty.
    QStringList emptied;
    if (Status st = decodeSlot(entries, s.P, next, emptied); !st) return st;
    for (Kind k : gridKinds())
        if (Status st = checkComponent(gridFile(s.P, k, slot), kindInfo(k).sizing()); !st)
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
