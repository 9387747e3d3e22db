#pragma once
#include "base/Status.h"
#include "compositor/StudioState.h"

namespace ms {

constexpr int kSlotCount = 8;

// The design state file that holds one section per stored slot.
QString designStateFile(const StudioState& s);
// The design name of slot 1 .. 8: "kelm" + slot; the record's section and its files' suffix.
QString slotDesignName(int slot);

// Stores the design in slot 1 .. 8: the prepared hairstyle, eyebrow, lips and clothing pixels,
// the cut-out pictures, then the slot record. Every file is replaced atomically and the record is
// written last, so a failure leaves the old record.
Status linshi_bckelm(StudioState& s, int slot);

// Restores the design stored in slot 1 .. 8, recomposes with huaban_hecheng3 and records an undo
// snapshot. Everything it needs is checked first: a slot never stored (NotFound), a record that
// cannot be read or a missing or corrupt file of the slot's own (Damaged) leaves the current
// design as it was. An accessory that is not a usable file of its library leaves only its layer
// empty: the design is restored and the result (Partial) names the layer.
Status linshi_dckelm(StudioState& s, int slot);

// Shutdown work of the core: deletes the plain files directly inside P + "/temp/" (no links
// followed, no sub-folders entered) and releases the drawing surfaces.
Status gb(StudioState& s);

}  // namespace ms
