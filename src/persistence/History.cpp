#include "persistence/History.h"

#include "compositor/Composition.h"
#include "persistence/DesignRecord.h"
#include "platform/ProfileFile.h"

namespace ms {

namespace {

QString sectionOf(int number) { return QStringLiteral("kelm%1").arg(number); }

// Reads snapshot `number` into the design; all or nothing.
Status readSnapshot(StudioState& s, int number) {
    ProfileFile::Entries entries;
    if (Status st = ProfileFile::loadSection(snapshotPath(s, number), sectionOf(number), entries); !st) {
        if (st.code == StatusCode::NotFound)
            return Status::notFound(QStringLiteral("找不到第 %1 步的撤销记录，无法恢复。").arg(number));
        return st.prefixed(QStringLiteral("第 %1 步的撤销记录无法读取：").arg(number));
    }
    return decodeSnapshot(entries, s.P, s.doc.design);
}

}  // namespace

QString snapshotPath(const StudioState& s, int number) {
    return s.path(QStringLiteral("temp/huifu%1.ini").arg(number));
}

Status huifu_baochun(StudioState& s) {
    HistoryCounters& h = s.session.history;
    const int next = h.position + 1;
    if (Status st =
            ProfileFile::writeSection(snapshotPath(s, next), sectionOf(next), encodeSnapshot(s.doc.design));
        !st)
        return st.prefixed(QStringLiteral("无法保存撤销记录："));
    h.position = next;
    h.top = next;
    ++h.recorded;
    return Status::success();
}

HistoryStep undo(StudioState& s) {
    HistoryCounters& h = s.session.history;
    if (h.position <= 1) {
        h.position = 0;
        return {HistoryMove::ToStart, Status::success()};
    }
    if (Status st = readSnapshot(s, h.position - 1); !st) return {HistoryMove::Unchanged, st};
    --h.position;
    return {HistoryMove::Back, huaban_hecheng2(s)};
}

HistoryStep redo(StudioState& s) {
    HistoryCounters& h = s.session.history;
    if (h.position >= h.top) return {HistoryMove::AtTop, Status::success()};
    if (Status st = readSnapshot(s, h.position + 1); !st) return {HistoryMove::Unchanged, st};
    ++h.position;
    return {HistoryMove::Forward, huaban_hecheng2(s)};
}

}  // namespace ms
