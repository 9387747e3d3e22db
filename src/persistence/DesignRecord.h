#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"

namespace ms {

// The key vocabulary of design records. One table, in record order, is used by every writer and
// reader of slot records and undo snapshots.
enum class ValueForm { Name, Geometry, Woman, Colour, Strength };

struct RecordKey {
    const char* key;
    ValueForm form;
    QString DesignState::*name = nullptr;     // Name keys
    int16_t LayerGeometry::*field = nullptr;  // Geometry keys
    bool inSlot = false;                      // part of the slot record
    bool inSnapshot = false;                  // part of the undo snapshot
    const char* libraryFolder = nullptr;      // slot names are bare file names in this folder
    bool componentFile = false;               // a file the studio opens: the name of `kind`
    Kind kind = Kind::xiushi;
};

// Read limit of a key, terminator included: only (limit - 1) bytes are significant. Name keys are
// read in full (0): program-folder paths are often longer than 99 bytes.
int readLimit(ValueForm form);

const std::vector<RecordKey>& recordKeys();
std::vector<const RecordKey*> slotRecordKeys();      // 50 keys, write order
std::vector<const RecordKey*> snapshotRecordKeys();  // 54 keys, write order

using RecordEntries = QList<QPair<QString, QString>>;

// Decimal text, "-" for negatives; "True"/"False" for the woman flag.
RecordEntries encodeSnapshot(const DesignState& d);
RecordEntries encodeSlot(const DesignState& d);

// Applies a record's values to a copy of the design, checking every value first: a missing or
// unconvertible value fails the whole record and `d` stays unchanged. Values are cut to their
// read limits before conversion, so a geometry value counts only its first four characters.
// Names from a record never lead outside the program folder: a snapshot naming a file outside it
// (or anything there but a regular file) is refused as a whole.
Status decodeSnapshot(const RecordEntries& entries, const QString& programFolder, DesignState& d);
// A slot names its accessories by bare file name in their library folder. A name that is not a
// bare file name, or not a regular file inside that folder, leaves its layer empty; `emptied`
// gets a message for each such layer.
Status decodeSlot(const RecordEntries& entries, const QString& programFolder, DesignState& d,
                  QStringList& emptied);

// A bare file name: not empty, no folder separators, not "." or "..".
bool isBareFileName(const QString& name);

// Conversions of single values, as their keys' read limits and forms give them.
bool parseInt16(const QString& text, int16_t& out);
bool parseInt32(const QString& text, int32_t& out);
bool parseWoman(const QString& text, bool& out);

}  // namespace ms
