#pragma once
#include <QString>
#include <vector>

namespace ms {

// Values of LibraryState::currentKind.
constexpr int kLibraryHairstyles = 1, kLibraryEyebrows = 3, kLibraryLips = 6, kLibraryAccessories = 8;
// Values of LibraryState::accessorySubKind.
constexpr int kAccessoryHat = 8, kAccessoryGlasses = 9, kAccessoryEarrings = 10, kAccessoryNecklace = 11,
              kAccessoryClothing = 12;

// One category tab of a library window. Hairstyle names begin with firstCode and hold secondCode
// somewhere after it; eyebrow and lip names begin with firstCode; accessory tabs list all of `folder`.
struct Category {
    QString caption;
    QString firstCode;
    QString secondCode;
    bool woman = true;  // eyebrows: the woman flag the tab sets
    int subKind = 0;    // accessories: the sub-kind the tab selects
    QString folder;     // relative library folder, e.g. "faxing"
};

// The tab strip of a library kind, in tab order, and how many tabs one row holds.
const std::vector<Category>& categoriesOf(int libraryKind);
int tabsPerRow(int libraryKind);

// Relative folder of a kind's library ("faxing", "meimao", "zuixing", "maozi"; accessories by tab).
QString libraryFolderName(int libraryKind, int accessorySubKind = kAccessoryHat);

// P + "/" + relative folder + "/", the form in which library folders are kept and concatenated.
QString libraryFolder(const QString& P, const QString& relativeFolder);

// Listing pattern of a category: folder + pattern of its codes (hairstyles: first + "*" + second + "*";
// eyebrows and lips: code + "*"; accessories: "*").
QString hairstylePattern(const QString& folder, const QString& first, const QString& second);
QString codePattern(const QString& folder, const QString& code);
QString everythingPattern(const QString& folder);

// P + "/faxing1/" + the file name without its last three characters + "BMP": dz012.tta gives
// faxing1/dz012.BMP. When no file has exactly that name, one differing only in letter case is taken;
// "" when there is none.
QString hairstyleInfoPicture(const QString& P, const QString& hairstylePath);

}  // namespace ms
