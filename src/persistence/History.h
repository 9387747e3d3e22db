#pragma once
#include "base/Status.h"
#include "compositor/StudioState.h"

namespace ms {

// Undo snapshot file N: P + "/temp/huifu" + N + ".ini", section "kelm" + N.
QString snapshotPath(const StudioState& s, int number);

// Records a snapshot of the component files and geometry as the newest history entry. A snapshot
// that cannot be written is reported and the history stays where it was.
Status huifu_baochun(StudioState& s);

// What an undo or redo did, for the controls that show the history.
enum class HistoryMove {
    Unchanged,  // the snapshot could not be read: position, design and canvas are as they were
    Back,       // one step back, that snapshot restored
    ToStart,    // back to position 0: nothing restored
    Forward,    // one step forward, that snapshot restored
    AtTop,      // nothing to redo
};

struct HistoryStep {
    HistoryMove move = HistoryMove::Unchanged;
    Status status;  // a snapshot that could not be read, or a recomposition that reported problems
};

// Moves one step back or forward and recomposes with huaban_hecheng2.
HistoryStep undo(StudioState& s);
HistoryStep redo(StudioState& s);

}  // namespace ms
