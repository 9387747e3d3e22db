#pragma once
#include <QString>
#include <cstdint>
#include <span>

// The hairstyle variants of the library: one row per hairstyle file, shared by the renderer, the
// info cards and the suitability records.
namespace installdata {

enum class Bangs { None, Full, Side, Curtain, Wispy };
// Down: hair falls from the parting; Updo: drawn back smoothly to its attachments; Crop: men's.
enum class Form { Down, Updo, Crop };
enum class MensCut { SidePart, Crew, Quiff, Fringe, SlickBack, Textured, Curly, Shoulder };
// Where long side hair goes at the shoulder: behind it, split around it, or all in front.
enum class Drape { Behind, Split, Front };
// Pieces gathered out of the hair: a wound bun, a plait, a ponytail's length.
enum class Piece { None, Bun, Braid, Tail };

struct Curl {
    double amp = 0, waves = 0, loop = 0, start = 0.35;
};

struct Attachment {
    Piece kind = Piece::None;
    double x = 190, y = 50;     // bun centre, or where a braid or tail is tied
    double size = 1.0;          // bun scale, or the plait's / tail's width at the tie in px / 20
    double endX = 0, endY = 0;  // braid and tail: where they end
};

struct HairVariant {
    const char* code;   // category code, the file name prefix
    const char* title;  // name on the info card (UTF-8)
    int palette;
    Form form;
    double part = 190;                 // x of the parting
    double volume = 8;                 // how far the outline stands off the skull at the crown
    double tipLeft = 0, tipRight = 0;  // where the side hair ends (y)
    double spread = 0;                 // how far the ends flare outwards (negative: turned in)
    Curl curl = {};
    Bangs bangs = Bangs::None;
    double choppy = 0.04;  // 0 even ends .. 0.4 strongly layered
    uint64_t seed = 1;
    double width = 0;    // extra fullness at the sides, px
    double layers = 0;   // face-framing layers: the front locks end this fraction shorter
    double fringeY = 0;  // where the fringe ends; 0: the fringe's own length
    Drape drapeLeft = Drape::Split, drapeRight = Drape::Split;
    bool tuckLeft = false;  // the left side tucked behind the ear
    MensCut cut = MensCut::SidePart;
    Attachment pieces[2] = {};
    bool fingerWaves = false;  // set in deep S-ridges pressed across the head
    bool shortCurls = false;   // a rounded mass of small coils rather than locks of strands
    // Short loose hair with a lived-in crown: strand groups crossing at the parting, stray hairs
    // over the outline, and uneven, thinning ends instead of one smooth, blunt shell.
    bool tousled = false;
    // Blow-dried straight hair: the roots stand this many px further off the head at the crown and
    // the temples before the lengths fall, and strand groups cross at the parting.
    double lift = 0;
    // The outline over the crown: a superellipse of this power, 2 round as an egg, higher squarer.
    double domePower = 2.5;
    // The volume the hair is drawn and lit with: its own, and the lift at the crown and temples.
    double liftedVolume() const { return volume + lift; }
    // A punk crop: the hair over the top pulled up into pointed pieces that stand off the outline.
    bool spiky = false;
    // A layered cut: over the full lengths, shorter layers end at the cheekbone, the jaw and the
    // shoulder, their ends separating into pieces that flick out and shade the hair beneath.
    bool layered = false;
    // A textured layered cut: over the top and at the ends the hair falls in broad locks of
    // differing width that overlap, lit on their outer curves and shaded where they part; a short
    // side ends in tapered pieces rather than at the sheet's edge.
    bool textured = false;
    // Where the hair at the back ends (y) when it is left longer than the sides, seen beside the
    // neck; 0: with the sides.
    double backTip = 0;
    // An updo whose volume is a pouf: the swept hair rises this many px over the crown in a rounded
    // mass that narrows to the temples, broken into teased strand groups, instead of one smooth,
    // flat-topped dome standing out at the sides. Its `width` fills out the mass above the temples.
    double pouf = 0;
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
