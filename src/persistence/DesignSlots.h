#pragma once
#include "compositor/StudioState.h"
#include "platform/Status.h"

namespace ms {

// The design state file that holds one section per stored slot.
QString designStateFile(const StudioState& s);

// Stores the design under the current design name ("kelm1" .. "kelm8"): the prepared hairstyle,
// eyebrow, lips and clothing pixels, the cut-out pictures, then the slot record. Every file is
// replaced atomically and the record is written last, so a failure leaves the old record.
Status linshi_bckelm(StudioState& s);

// Restores the design stored under the current design name, recomposes with huaban_hecheng3 and
// records an undo snapshot. Everything it needs is checked first: a slot never stored, a missing
// or corrupt file leaves the current design exactly as it was.
Status linshi_dckelm(StudioState& s);

// Shutdown work of the core: deletes the plain files directly inside P + "/temp/" (no links
// followed, no sub-folders entered) and releases the drawing surfaces.
Status gb(StudioState& s);

}  // namespace ms
