#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "base/Status.h"
#include "imaging/PixelGrid.h"

namespace ms {

// The 18-byte header of a component pixel file (".tta"), TGA layout, little-endian.
struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 6;
    uint16_t colourMapFirst = 0;
    uint16_t colourMapLength = 0;
    uint8_t colourMapEntrySize = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint8_t pixelDepth = 32;
    uint8_t descriptor = 0;
};
constexpr int kTgaHeaderSize = 18;
// Larger files are refused: no library component comes near it and it bounds what a bad header costs.
constexpr int kMaxComponentSide = 4096;
// The most bytes a component file can need: the header and the largest grid.
constexpr qint64 kMaxComponentBytes = kTgaHeaderSize + qint64{kMaxComponentSide} * kMaxComponentSide * 4;

// How a reader sizes its grid: from the header, or fixed whatever the header says.
struct GridSizing {
    int fixedWidth = 0;  // 0: take W and H from the header
    int fixedHeight = 0;
    static GridSizing fromHeader() { return {}; }
    static GridSizing fixed(int w, int h) { return {w, h}; }
};

struct ComponentImage {
    TgaHeader header;
    PixelGrid grid;
};

// Decodes the bytes of a component pixel file. The pixel section always starts at offset 18;
// exactly the grid's element count x 4 bytes are used. Fails (and leaves `out` untouched) when
// the header has a width or height outside 1 .. 4096 or the bytes are fewer than the grid needs.
// `name` is the file name the messages show.
Status parseComponentBytes(const QByteArray& bytes, GridSizing sizing, ComponentImage& out,
                           const QString& name = {});

// Header + grid as one block, as a component file holds them.
QByteArray encodeComponent(const PixelGrid& grid, uint8_t imageType = 6);

}  // namespace ms
