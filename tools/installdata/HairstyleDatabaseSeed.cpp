#include "HairstyleDatabaseSeed.h"

#include "HairstyleRecords.h"
#include "platform/HairstyleDatabase.h"

namespace installdata {

// The hairstyle database P/dova.mdb, one record per library hairstyle.
QString writeHairstyleDatabase(const QString& programFolder) {
    using F = ms::SuitabilityField;
    std::vector<ms::HairstyleRecord> records;
    for (const HairstyleRecord& h : hairstyleRecords()) {
        ms::HairstyleRecord r;
        r.name = h.name;
        r[F::RoundFace] = h.round;
        r[F::SquareFace] = h.square;
        r[F::LongFace] = h.longFace;
        r[F::PointedFace] = h.pointed;
        r[F::HairSoft] = h.softHair;
        r[F::HairMedium] = h.mediumHair;
        r[F::HairCoarse] = h.coarseHair;
        r[F::AmountThin] = h.thinHair;
        r[F::AmountMedium] = h.mediumAmount;
        r[F::AmountThick] = h.thickHair;
        records.push_back(r);
    }
    const ms::Status st = ms::createHairstyleDatabase(programFolder + QStringLiteral("/dova.mdb"), records);
    return st ? QString() : st.message;
}

}  // namespace installdata
