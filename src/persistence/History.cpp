#include "persistence/History.h"

#include "compositor/Composition.h"
#include "persistence/DesignRecord.h"
#include "platform/ProfileFile.h"

namespace ms {

namespace {

QString sectionOf(int number) { return QStringLiteral("kelm%1").arg(number); }

// Reads snapshot `number` into the design; all or nothing.
Status readSnapshot(StudioState& s, int number) {
    const auto entries = ProfileFile::readSection(snapshotPath(s, number), sectionOf(number));
    if (!entries) return Status::failure(QStringLiteral("找不到第 %1 步的撤销记录，无法恢复。").arg(number));
    return decodeSnapshot(*entries, s.design);
}

}  // namespace

QString snapshotPath(const StudioState& s, int number) {
    return s.path(QStringLiteral("temp/huifu%1.ini").arg(number));
}

Status huifu_baochun(StudioState& s) {
    HistoryState& h = s.history;
    const int next = h.position + 1;
    if (Status st =
            ProfileFile::writeSection(snapshotPath(s, next), sectionOf(next), encodeSnapshot(s.design));
        !st)
        return Status::failure(QStringLiteral("无法保存撤销记录：%1").arg(st.message));
    h.position = next;
    h.top = next;
    h.label = QString::number(next);
    h.undoEnabled = true;
    return Status::success();
}

Status undo(StudioState& s) {
    HistoryState& h = s.history;
    const HistoryState before = h;
    h.redoEnabled = true;
    --h.position;
    if (h.position <= 0) {
        h.position = 0;
        h.undoEnabled = false;
        return Status::success();
    }
    if (h.position == 1) h.undoEnabled = false;
    if (Status st = readSnapshot(s, h.position); !st) {
        h = before;
        return st;
    }
    Status composed = huaban_hecheng2(s);
    h.label = QString::number(h.position);
    return composed;
}

Status redo(StudioState& s) {
    HistoryState& h = s.history;
    const HistoryState before = h;
    h.undoEnabled = true;
    if (h.position >= h.top) {
        h.redoEnabled = false;
        return Status::success();
    }
    if (Status st = readSnapshot(s, h.position + 1); !st) {
        h = before;
        return st;
    }
    ++h.position;
    h.label = QString::number(h.position);
    return huaban_hecheng2(s);
}

}  // namespace ms
