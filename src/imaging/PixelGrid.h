#pragma once
#include <cstdint>
#include <vector>

namespace ms {

// A grid of 32-bit pixels, bytes B, G, R, A (0xAARRGGBB as a little-endian word), straight alpha.
// Row y = 0 is the BOTTOM row of the image; x varies fastest, rows have no padding.
struct PixelGrid {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    PixelGrid() = default;
    PixelGrid(int w, int h, uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    bool isEmpty() const { return pixels.empty(); }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const PixelGrid&) const = default;
};

inline uint32_t pixelBGRA(int b, int g, int r, int a) {
    return static_cast<uint32_t>(b) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(r) << 16 |
           static_cast<uint32_t>(a) << 24;
}
inline int alphaOf(uint32_t p) { return static_cast<int>(p >> 24); }
inline int redOf(uint32_t p) { return static_cast<int>(p >> 16 & 0xFF); }
inline int greenOf(uint32_t p) { return static_cast<int>(p >> 8 & 0xFF); }
inline int blueOf(uint32_t p) { return static_cast<int>(p & 0xFF); }

// Colour values from the user interface carry red in the low byte: R + 256 G + 65536 B.
inline uint32_t pixelFromColourValue(int32_t colour, int alpha) {
    return pixelBGRA(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF, alpha);
}
inline int32_t colourValue(int r, int g, int b) { return r + 256 * g + 65536 * b; }

}  // namespace ms
