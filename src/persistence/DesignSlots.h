#pragma once
#include <vector>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "persistence/SlotJournal.h"

namespace ms {

constexpr int kSlotCount = 8;

// The design state file that holds one section per stored slot.
QString designStateFile(const StudioState& s);
// The design name of slot 1 .. 8: "kelm" + slot; the record's section and its files' suffix.
QString slotDesignName(int slot);

// The journal of a store in slot 1 .. 8: P/kelm/kelm<i>.journal (see SlotJournal.h).
QString slotJournalFile(const QString& programFolder, int slot);

// Everything a store in slot 1 .. 8 writes, encoded in memory, in the order the files are put in
// place: the grid files of the kinds that keep a grid (kelm/<kind>kelm<i>.tta; an empty kind as a
// transparent grid of its nominal size), the cut-out picture and its mask (ziyuan/kelm<i>.tta and
// kelm<i>p.tta, bitmaps; an empty one black), the working photo (kelm/kelm<i>.bmp), the canvas
// view that the slot shows (kelm/kelmx<i>.bmp), and last the design state file with the slot's
// section replaced and every other line as it was. Each file's temporary is its name followed by
// ".kelm<i>.new". Refused without a photo or canvas view, or for record values that would not read
// back; a design state file that exists but cannot be read fails (nothing is encoded over it).
Status encodeSlotStore(const StudioState& s, int slot, std::vector<StagedFile>& out);

// Stores the design in slot 1 .. 8 as one unit: the files of encodeSlotStore go to their
// temporaries, a journal names them, and only then do they replace the slot's files, the record
// last. Killed or failing at any moment, the slot holds either the whole old or, once
// recoverSlotStores has run, the whole new design; a failure before the journal leaves the old
// slot byte for byte and is reported (WriteFailed). A store first settles interrupted stores.
Status linshi_bckelm(StudioState& s, int slot);

// Start-up step: settles the stores that were interrupted (stores and restores settle the journals
// themselves first as well) and removes their leftovers.
// A slot whose journal is whole and whose new files are all whole (in their temporaries or in
// place already) is completed; any other journal is dropped with its temporaries, leaving the old
// slot. Should a temporary have gone although others were put in place (only something outside
// the studio removes one), neither design is whole: the slot's photo is removed so that the slot
// restores nothing and says so, and the result (Damaged) asks for the slot to be stored again.
// Then the leftovers are removed, in P/kelm and P/ziyuan only, and only regular files and
// links (the link, not what it points to):
//  - the temporaries of every slot's files, "<file>.kelm<i>.new", unless their journal could not be
//    settled;
//  - what an interrupted atomic write leaves: "<name>.XXXXXX" (a dot and six letters or digits)
//    after the name of a slot file, of a temporary, of a journal, or of the design state file.
// Nothing else is touched. Fails (WriteFailed) when a journal cannot be settled or a leftover
// cannot be removed; the message names it.
Status recoverSlotStores(const QString& programFolder);

// Restores the design stored in slot 1 .. 8, recomposes with huaban_hecheng3 and records an undo
// snapshot. An interrupted store of the slot is settled first; a slot whose store cannot be
// settled yet is not restored (Damaged), so that a restore never sees part of a store. Everything
// it needs is checked first: a slot never stored (NotFound), a record that cannot be read or a
// missing or corrupt file of the slot's own (Damaged) leaves the current design as it was. An
// accessory that is not a usable file of its library leaves only its layer empty: the design is
// restored and the result (Partial) names the layer.
Status linshi_dckelm(StudioState& s, int slot);

// Shutdown work of the core: deletes the plain files directly inside P + "/temp/" (no links
// followed, no sub-folders entered) and releases the drawing surfaces.
Status gb(StudioState& s);

}  // namespace ms
