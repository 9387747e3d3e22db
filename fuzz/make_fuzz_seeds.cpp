// make-fuzz-seeds DIR: writes the seed inputs of the component-file and picture fuzzers into
// DIR/component and DIR/picture, generated here so that no binary file is kept in the repository:
// small files of each kind, and the damaged headers and sections the readers must refuse.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <utility>
#include <vector>

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

QByteArray encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QImageWriter(&b, format).write(img);
    return bytes;
}

bool writeAll(const QDir& dir, const std::vector<std::pair<const char*, QByteArray>>& seeds) {
    if (!dir.mkpath(QStringLiteral("."))) return false;
    for (const auto& [name, bytes] : seeds) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QByteArray small = ms::encodeComponent(patterned(4, 3));
    const bool components = writeAll(QDir(root.filePath(QStringLiteral("component"))),
                                     {
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
                                     });
    QImage picture(6, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) picture.setPixel(x, y, qRgba(40 * x, 50 * y, 90, 128 + 20 * y));
    const QByteArray bmp = encoded(picture.convertToFormat(QImage::Format_RGB888), "bmp");
    const QByteArray png = encoded(picture, "png"),
                     jpeg = encoded(picture.convertToFormat(QImage::Format_RGB32), "jpeg");
    QByteArray hugeBmp = bmp;
    for (int i = 0; i < 4; ++i) hugeBmp[18 + i] = hugeBmp[22 + i] = "\x40\x1f\x00\x00"[i];  // 8000 x 8000
    const bool pictures =
        writeAll(QDir(root.filePath(QStringLiteral("picture"))), {
                                                                     {"small.bmp", bmp},
                                                                     {"small.png", png},
                                                                     {"small.jpg", jpeg},
                                                                     {"cut.bmp", bmp.left(bmp.size() / 2)},
                                                                     {"cut.png", png.left(png.size() - 8)},
                                                                     {"cut.jpg", jpeg.left(jpeg.size() - 2)},
                                                                     {"claims-8000.bmp", hugeBmp},
                                                                 });
    if (!components || !pictures) return 1;
    return 0;
}
