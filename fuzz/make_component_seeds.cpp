// make-component-seeds DIR: writes the seed inputs of the component-file fuzzer, generated here so
// that no binary file is kept in the repository. Small components of each reader sizing, and the
// damaged headers and sections the reader must refuse.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "imaging/ComponentCodec.h"

namespace {

ms::PixelGrid patterned(int w, int h) {
    ms::PixelGrid g(w, h);
    for (size_t i = 0; i < g.pixels.size(); ++i) {
        static constexpr uint32_t kAlphas[] = {0, 255, 1, 254, 128};
        g.pixels[i] = kAlphas[i % 5] << 24 | static_cast<uint32_t>(i * 2654435761u & 0xFFFFFF);
    }
    return g;
}

QByteArray withSize(QByteArray bytes, int16_t w, int16_t h) {
    bytes[12] = static_cast<char>(w & 0xFF);
    bytes[13] = static_cast<char>(w >> 8 & 0xFF);
    bytes[14] = static_cast<char>(h & 0xFF);
    bytes[15] = static_cast<char>(h >> 8 & 0xFF);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-component-seeds DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;
    const QByteArray small = ms::encodeComponent(patterned(4, 3));
    const struct {
        const char* name;
        QByteArray bytes;
    } seeds[] = {
        {"small.tta", small},
        {"one-pixel.tta", ms::encodeComponent(patterned(1, 1))},
        {"lips-type2.tta", ms::encodeComponent(patterned(100, 50), 2)},
        {"eyebrows.tta", ms::encodeComponent(patterned(180, 40))},
        {"header-only.tta", small.left(ms::kTgaHeaderSize)},
        {"short-header.tta", small.left(11)},
        {"short-pixels.tta", small.left(small.size() - 5)},
        {"zero-width.tta", withSize(small, 0, 3)},
        {"negative-height.tta", withSize(small, 4, -1)},
        {"too-wide.tta", withSize(small, 4097, 1)},
    };
    for (const auto& seed : seeds) {
        QFile f(dir.filePath(QString::fromLatin1(seed.name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(seed.bytes) != seed.bytes.size()) return 1;
    }
    return 0;
}
