#include "imaging/PictureBytes.h"

#include <cstdint>

namespace ms {

namespace {

uint32_t le32(const uchar* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint32_t be32(const uchar* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint16_t le16(const uchar* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// File header (14 bytes), then the information header: its size, width, height (negative:
// top-down), planes, bits per pixel, compression.
bool bmpComplete(const uchar* p, qint64 n) {
    if (n < 30) return false;
    const qint64 offset = le32(p + 10);
    const qint64 width = static_cast<int32_t>(le32(p + 18));
    const qint64 height = static_cast<int32_t>(le32(p + 22));
    const qint64 bits = le16(p + 28);
    const uint32_t compression = n >= 34 ? le32(p + 30) : 0;
    if (compression != 0 && compression != 3) return true;  // run lengths: no fixed size to check
    // Sizes no picture of ours comes near are not complete pictures (and would overflow below).
    if (width <= 0 || width > 65535 || height < -65535 || height > 65535 || bits == 0 || bits > 64)
        return false;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    const qint64 rows = height < 0 ? -height : height;
    return offset + stride * rows <= n;
}

// Segments up to each scan are skipped by their lengths (an embedded thumbnail ends inside one);
// a scan's data runs to the next marker that is not a stuffed 0xFF or a restart marker.
bool jpegComplete(const uchar* p, qint64 n) {
    qint64 i = 2;
    while (i + 1 < n) {
        if (p[i] != 0xFF) return false;
        const uchar m = p[i + 1];
        if (m == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (m == 0xD9) return true;  // end of image
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) {
            i += 2;
            continue;
        }
        if (i + 3 >= n) return false;
        const qint64 length = p[i + 2] << 8 | p[i + 3];
        if (length < 2) return false;
        i += 2 + length;
        if (m != 0xDA) continue;
        while (i + 1 < n && !(p[i] == 0xFF && p[i + 1] != 0x00 && !(p[i + 1] >= 0xD0 && p[i + 1] <= 0xD7)))
            ++i;
    }
    return false;
}

bool pngComplete(const uchar* p, qint64 n) {
    qint64 i = 8;
    while (i + 8 <= n) {
        const qint64 length = be32(p + i);
        if (p[i + 4] == 'I' && p[i + 5] == 'E' && p[i + 6] == 'N' && p[i + 7] == 'D') return i + 12 <= n;
        i += 12 + length;
    }
    return false;
}

}  // namespace

bool pictureIsComplete(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 n = bytes.size();
    if (n >= 2 && p[0] == 'B' && p[1] == 'M') return bmpComplete(p, n);
    if (n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return jpegComplete(p, n);
    if (n >= 8 && bytes.startsWith("\x89PNG\r\n\x1a\n")) return pngComplete(p, n);
    return true;
}

}  // namespace ms
