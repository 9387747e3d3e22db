#pragma once
#include <QString>
#include <vector>

// What each hairstyle of the installation library suits: face shapes, hair texture and amount.
namespace installdata {

struct HairstyleRecord {
    QString name;  // file name in faxing, e.g. "dz001.tta"
    bool round, square, longFace, pointed;
    bool softHair, mediumHair, coarseHair;
    bool thinHair, mediumAmount, thickHair;
};

// One record per generated hairstyle, in the order the files are written.
std::vector<HairstyleRecord> hairstyleRecords();

}  // namespace installdata
