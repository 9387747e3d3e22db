#pragma once
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "compositor/Document.h"
#include "compositor/Kind.h"
#include "compositor/LayerGeometry.h"
#include "imaging/ComponentCodec.h"

namespace ms {

// The geometry fields of one layer (or of one member of a pair) by what they do; nullptr where
// the kind has no such field.
struct GeometryRoles {
    int16_t LayerGeometry::*width = nullptr;
    int16_t LayerGeometry::*height = nullptr;
    int16_t LayerGeometry::*left = nullptr;
    int16_t LayerGeometry::*top = nullptr;
};

// What happens between a kind's straight grid and its premultiplied surface.
enum class SurfaceStep {
    Plain,            // premultiply only
    LipColour,        // the grid is tinted with the lip colour when loaded; the lip strength is
                      // added to the alpha of the surface's copy
    EyebrowStrength,  // the eyebrow strength is added to the alpha of the surface's copy (at least 0)
};

// Everything the studio knows about one component kind. Every list of kinds and every per-kind
// decision reads this table.
struct KindInfo {
    Kind kind;
    const char* key;               // pinyin key: library folder, slot file prefix, operation names
    const char16_t* name;          // what the user calls it
    QString DesignState::*file;    // current component file; nullptr for the cut-out layer
    QSize size;                    // nominal size: the "000" default, a blank slot grid, the redraw source
    bool fixedSize;                // files are read into a grid of `size`, whatever their header says
    uint8_t imageType;             // image type its files are written with (lips without the alpha flag)
    PixelGrid KindGrids::*grid;    // kept straight grid; nullptr when preparation keeps none
    PixelGrid KindGrids::*backup;  // its backup grid
    std::array<Layer, 2> layerSlots;
    int layerCount;
    std::array<GeometryRoles, 2> memberSlots;  // [0] the layer or left member, [1] the right member
    int memberCount;
    bool warpable;  // has a layer-modified flag
    SurfaceStep step;
    LibraryKind library;
    AccessorySubKind subKind;  // accessories only
    ThumbnailKind thumbnail;
    bool resetsColourSlider;                 // applying one from the library puts the colour slider back to 0
    int DesignState::*fileHeight = nullptr;  // where the height of its file is remembered

    std::span<const Layer> layers() const { return {layerSlots.data(), static_cast<size_t>(layerCount)}; }
    std::span<const GeometryRoles> members() const {
        return {memberSlots.data(), static_cast<size_t>(memberCount)};
    }
    QString folder() const { return QString::fromLatin1(key); }
    QString displayName() const { return QString::fromUtf16(name); }
    GridSizing sizing() const {
        return fixedSize ? GridSizing::fixed(size.width(), size.height()) : GridSizing::fromHeader();
    }
    bool hasComponentFile() const { return file != nullptr; }
    bool keepsGrid() const { return grid != nullptr; }
};

// The table, in the order of the Kind enumeration.
const std::array<KindInfo, kKindCount>& kindTable();
inline const KindInfo& kindInfo(Kind k) { return kindTable()[static_cast<size_t>(k)]; }

// The kinds that are read from library files (every kind but the cut-out photo), in table order.
std::vector<Kind> componentKinds();

// The kind whose surface a layer is drawn from.
Kind kindOf(Layer layer);

// The kind a library window applies: hairstyles, eyebrows, lips, or the accessory of the tab.
// LibraryKind::None gives the hairstyle.
Kind kindOfLibrary(LibraryKind library, AccessorySubKind subKind);

// Every geometry field of a kind (both members of a pair).
std::vector<int16_t LayerGeometry::*> geometryFields(Kind k);
void resetGeometry(LayerGeometry& g, Kind k);

}  // namespace ms
