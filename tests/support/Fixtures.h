#pragma once
#include <QDir>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <random>

#include "imaging/PixelGrid.h"
#include "platform/ComponentFile.h"

namespace ms::test {

// A program folder in a temporary directory with the component folders of an installation.
class ProgramFolder {
  public:
    ProgramFolder() {
        for (const char* sub : {"faxing", "faxing1", "meimao", "zuixing", "maozi", "yanjing", "erhuan",
                                "xianglian", "fuzhuang", "penqiang", "baheng", "ziyuan", "kelm", "temp"})
            QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& rel) const { return dir_.path() + QLatin1Char('/') + rel; }

    // Writes a component of uniform straight colour `pixel` (0xAARRGGBB), w x h, into folder/name.
    QString component(const QString& rel, int w, int h, uint32_t pixel) const {
        PixelGrid g(w, h, pixel);
        writeComponentFile(file(rel), g, 6);
        return file(rel);
    }
    QString component(const QString& rel, const PixelGrid& g) const {
        writeComponentFile(file(rel), g, 6);
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

// Random grid with alpha biased to 0 and 255, as components are.
inline PixelGrid randomGrid(int w, int h, std::mt19937& rng) {
    PixelGrid g(w, h);
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 3);
    for (uint32_t& p : g.pixels) {
        const int k = kind(rng);
        const int a = k == 0 ? 0 : k == 1 ? 255 : byte(rng);
        p = pixelBGRA(byte(rng), byte(rng), byte(rng), a);
    }
    return g;
}

inline uint32_t raw(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x];
}

}  // namespace ms::test
