#pragma once
#include <QString>
#include <cstdint>
#include <span>

// The hairstyle variants of the library: one row per hairstyle file, shared by the renderer, the
// info cards and the suitability records.
namespace installdata {

enum class Bangs { None, Full, Side, Curtain, Wispy };
enum class Form { Down, Updo, Crop };
enum class MensCut { SidePart, Crew, Quiff, Fringe, SlickBack, Textured };

struct Curl {
    double amp = 0, waves = 0, loop = 0, start = 0.35;
};

struct HairVariant {
    const char* code;   // category code, the file name prefix
    const char* title;  // name on the info card (UTF-8)
    int palette;
    Form form;
    double part;               // x of the parting
    double volume;             // how far the outline stands off the skull
    double tipLeft, tipRight;  // where the side hair ends (y)
    double spread;             // how far the ends flare outwards (negative: turned in)
    Curl curl;
    Bangs bangs;
    double choppy;  // 0 even ends .. 0.4 strongly layered
    uint64_t seed;
    double bunX = 190, bunY = 50, bunSize = 1.0;  // updos: the bun
    bool twinBuns = false;                        // updos: a bun each side, mirrored
    MensCut cut = MensCut::SidePart;              // men's crops
};

std::span<const HairVariant> hairVariants();
// File name of variant i, e.g. "dz001.tta": numbered within its category in table order.
QString hairstyleFileName(int i);
// Category name of a code, e.g. "dz" -> "短直".
QString hairCategoryName(const QString& code);
// The codes in their listing order.
std::span<const char* const> hairCategoryCodes();
// The listing wildcard of each code, same order.
std::span<const char* const> hairCategoryPatterns();

}  // namespace installdata
