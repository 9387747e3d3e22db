#pragma once
#include "compositor/StudioState.h"
#include "platform/Status.h"

namespace ms {

// Undo snapshot file N: P + "/temp/huifu" + N + ".ini", section "kelm" + N.
QString snapshotPath(const StudioState& s, int number);

// Records a snapshot of the component files and geometry as the newest history entry. A snapshot
// that cannot be written is reported and the history stays where it was.
Status huifu_baochun(StudioState& s);

// Moves one step back or forward and recomposes with huaban_hecheng2. A snapshot that is missing
// or unreadable is reported; design, position and buttons then stay as they were.
Status undo(StudioState& s);
Status redo(StudioState& s);

}  // namespace ms
