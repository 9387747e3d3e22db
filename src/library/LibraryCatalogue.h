#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "compositor/Kind.h"
#include "compositor/Session.h"
#include "platform/HairstyleDatabase.h"

namespace ms {

// One category tab of a library window. Hairstyle names begin with firstCode and hold secondCode
// somewhere after it; eyebrow and lip names begin with firstCode; accessory tabs list all of `folder`.
struct Category {
    QString caption;
    QString firstCode;
    QString secondCode;
    bool woman = true;                                 // eyebrows: the woman flag the tab sets
    AccessorySubKind subKind = AccessorySubKind::Hat;  // accessories: the sub-kind the tab selects
    QString folder;                                    // relative library folder, e.g. "faxing"
};

// The tab strip of a library kind, in tab order, and how many tabs one row holds.
const std::vector<Category>& categoriesOf(LibraryKind libraryKind);
int tabsPerRow(LibraryKind libraryKind);

// Relative folder of a kind's library ("faxing", "meimao", "zuixing"; accessories by tab).
QString libraryFolderName(LibraryKind libraryKind, AccessorySubKind accessorySubKind = AccessorySubKind::Hat);

// P + "/" + relative folder + "/", the form in which library folders are kept and concatenated.
QString libraryFolder(const QString& P, const QString& relativeFolder);

// Listing pattern of a category: folder + pattern of its codes (hairstyles: first + "*" + second + "*";
// eyebrows and lips: code + "*"; accessories: "*").
QString hairstylePattern(const QString& folder, const QString& first, const QString& second);
QString codePattern(const QString& folder, const QString& code);
QString everythingPattern(const QString& folder);

// The record field that says a hairstyle suits `shape`; none for an oval face, which suits every
// style, and for an unknown one.
std::optional<SuitabilityField> suitabilityFieldOf(FaceShape shape);
// The listing with the hairstyles named in `suiting` (file names without folder) first, each part in
// its own order; with `onlySuiting` the others are left out.
QStringList suitingFirst(const QStringList& listing, const QStringList& suiting, bool onlySuiting);

// P + "/faxing1/" + the file name without its last three characters + "BMP": dz012.tta gives
// faxing1/dz012.BMP. When no file has exactly that name, one differing only in letter case is taken;
// "" when there is none.
QString hairstyleInfoPicture(const QString& P, const QString& hairstylePath);

}  // namespace ms
