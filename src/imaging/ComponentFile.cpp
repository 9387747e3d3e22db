#include "imaging/ComponentFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

QString shownName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

Status parseComponentBytes(const QByteArray& bytes, GridSizing sizing, ComponentImage& out,
                           const QString& name) {
    if (bytes.size() < kTgaHeaderSize)
        return Status::failure(QStringLiteral("部件文件已损坏（文件头不完整）：%1").arg(name));
    const TgaHeader h = decodeHeader(reinterpret_cast<const uchar*>(bytes.constData()));
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxComponentSide || h.height > kMaxComponentSide)
        return Status::failure(
            QStringLiteral("部件文件的尺寸无效（%1 x %2）：%3").arg(h.width).arg(h.height).arg(name));
    const int w = sizing.fixedWidth > 0 ? sizing.fixedWidth : h.width;
    const int ht = sizing.fixedHeight > 0 ? sizing.fixedHeight : h.height;
    const qsizetype need = static_cast<qsizetype>(w) * ht * 4;
    if (bytes.size() - kTgaHeaderSize < need)
        return Status::failure(QStringLiteral("部件文件已损坏（像素数据不完整）：%1").arg(name));
    PixelGrid grid(w, ht);
    std::memcpy(grid.pixels.data(), bytes.constData() + kTgaHeaderSize, static_cast<size_t>(need));
    out.header = h;
    out.grid = std::move(grid);
    return Status::success();
}

Status readComponentFile(const QString& path, GridSizing sizing, ComponentImage& out) {
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("无法打开部件文件：%1").arg(shownName(path)));
    // Read no more than the largest grid can use, so a huge file costs nothing extra.
    const qint64 cap = kTgaHeaderSize + static_cast<qint64>(kMaxComponentSide) * kMaxComponentSide * 4;
    const QByteArray bytes = f.read(std::min<qint64>(f.size() > 0 ? f.size() : cap, cap));
    return parseComponentBytes(bytes, sizing, out, shownName(path));
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

Status writeComponentFile(const QString& path, const PixelGrid& grid, uint8_t imageType) {
    if (grid.width <= 0 || grid.height <= 0)
        return Status::failure(QStringLiteral("没有可保存的部件图像：%1").arg(shownName(path)));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return Status::failure(QStringLiteral("无法写入部件文件：%1").arg(path));
    const QByteArray bytes = encodeComponent(grid, imageType);
    if (f.write(bytes) != bytes.size() || !f.commit())
        return Status::failure(QStringLiteral("写入部件文件失败（磁盘已满或不可写）：%1").arg(path));
    return Status::success();
}

// The hairstyle grid is written with its own width (380 for every library hairstyle) so that what
// is written always reads back as the same grid.
Status cTga::Savefaxing(const QString& path, const PixelGrid& g) { return writeComponentFile(path, g, 6); }
Status cTga::Savemeimao(const QString& path, const PixelGrid& g) { return writeComponentFile(path, g, 6); }
Status cTga::Savezuixing(const QString& path, const PixelGrid& g) { return writeComponentFile(path, g, 2); }
Status cTga::Savefuzhuang(const QString& path, const PixelGrid& g) { return writeComponentFile(path, g, 6); }

}  // namespace ms
