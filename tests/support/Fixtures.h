#pragma once
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <random>

#include "compositor/Kinds.h"
#include "imaging/PixelGrid.h"
#include "platform/ComponentFile.h"

namespace ms::test {

// A program folder in a temporary directory with the component folders of an installation.
class ProgramFolder {
  public:
    ProgramFolder() {
        for (Kind k : componentKinds()) QDir(dir_.path()).mkpath(kindInfo(k).folder());
        for (const char* sub : {"faxing1", "penqiang", "baheng", "ziyuan", "kelm", "temp"})
            QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& rel) const { return dir_.path() + QLatin1Char('/') + rel; }

    // Writes a component of uniform straight colour `pixel` (0xAARRGGBB), w x h, into folder/name.
    QString component(const QString& rel, int w, int h, uint32_t pixel) const {
        return component(rel, PixelGrid(w, h, pixel));
    }
    QString component(const QString& rel, const PixelGrid& g) const {
        const Status st = writeComponentFile(file(rel), g, 6);
        EXPECT_TRUE(st) << st.message.toStdString();
        return file(rel);
    }

  private:
    QTemporaryDir dir_;
};

inline QImage solidPicture(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The alphas that catch blend faults: transparent, opaque, and the values next to them (a span
// wrongly taken as opaque at 254, a pixel wrongly skipped at 1).
inline int hardAlpha(std::mt19937& rng) {
    static constexpr int kAlphas[] = {0, 255, 1, 254};
    std::uniform_int_distribution<int> pick(0, 5);
    const int k = pick(rng);
    return k < 4 ? kAlphas[k] : std::uniform_int_distribution<int>(0, 255)(rng);
}

// Random straight grid as components are: runs of one alpha kind (transparent gaps, opaque runs,
// runs at 1 and 254, mixed), so rows hold both spans and edges.
inline PixelGrid randomGrid(int w, int h, std::mt19937& rng) {
    PixelGrid g(w, h);
    std::uniform_int_distribution<int> byte(0, 255), runLength(1, 12);
    size_t i = 0;
    while (i < g.pixels.size()) {
        const int a = hardAlpha(rng);
        const bool mixed = a != 0 && a != 255 && byte(rng) < 64;
        for (int n = runLength(rng); n > 0 && i < g.pixels.size(); --n, ++i)
            g.pixels[i] = pixelBGRA(byte(rng), byte(rng), byte(rng), mixed ? byte(rng) : a);
    }
    return g;
}

inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline uint32_t raw(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x];
}

}  // namespace ms::test
