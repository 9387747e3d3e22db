#include "imaging/ComponentCodec.h"

#include <cstring>

namespace ms {

namespace {

uint16_t le16(const uchar* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void put16(QByteArray& b, uint16_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
}

TgaHeader decodeHeader(const uchar* p) {
    TgaHeader h;
    h.idLength = p[0];
    h.colourMapType = p[1];
    h.imageType = p[2];
    h.colourMapFirst = le16(p + 3);
    h.colourMapLength = le16(p + 5);
    h.colourMapEntrySize = p[7];
    h.xOrigin = le16(p + 8);
    h.yOrigin = le16(p + 10);
    h.width = static_cast<int16_t>(le16(p + 12));
    h.height = static_cast<int16_t>(le16(p + 14));
    h.pixelDepth = p[16];
    h.descriptor = p[17];
    return h;
}

}  // namespace

Status parseComponentBytes(const QByteArray& bytes, GridSizing sizing, ComponentImage& out,
                           const QString& name) {
    if (bytes.size() < kTgaHeaderSize)
        return Status::damaged(QStringLiteral("部件文件已损坏（文件头不完整）：%1").arg(name));
    const TgaHeader h = decodeHeader(reinterpret_cast<const uchar*>(bytes.constData()));
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxComponentSide || h.height > kMaxComponentSide)
        return Status::damaged(
            QStringLiteral("部件文件的尺寸无效（%1 x %2）：%3").arg(h.width).arg(h.height).arg(name));
    const int w = sizing.fixedWidth > 0 ? sizing.fixedWidth : h.width;
    const int ht = sizing.fixedHeight > 0 ? sizing.fixedHeight : h.height;
    const qsizetype need = static_cast<qsizetype>(w) * ht * 4;
    if (bytes.size() - kTgaHeaderSize < need)
        return Status::damaged(QStringLiteral("部件文件已损坏（像素数据不完整）：%1").arg(name));
    PixelGrid grid(w, ht);
    std::memcpy(grid.pixels.data(), bytes.constData() + kTgaHeaderSize, static_cast<size_t>(need));
    out.header = h;
    out.grid = std::move(grid);
    return Status::success();
}

QByteArray encodeComponent(const PixelGrid& grid, uint8_t imageType) {
    QByteArray b;
    b.reserve(kTgaHeaderSize + static_cast<qsizetype>(grid.pixels.size()) * 4);
    b.append(char(0));  // ID length
    b.append(char(0));  // colour map type
    b.append(static_cast<char>(imageType));
    put16(b, 0);        // colour map first entry
    put16(b, 0);        // colour map length
    b.append(char(0));  // colour map entry size
    put16(b, 0);        // x origin
    put16(b, 0);        // y origin
    put16(b, static_cast<uint16_t>(grid.width));
    put16(b, static_cast<uint16_t>(grid.height));
    b.append(char(32));
    b.append(char(0));
    b.append(reinterpret_cast<const char*>(grid.pixels.data()),
             static_cast<qsizetype>(grid.pixels.size()) * 4);
    return b;
}

}  // namespace ms
