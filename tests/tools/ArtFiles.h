#pragma once
// Reading the generated installation data of the test program folder, for the checks of the art.
#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>

#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"

namespace arttest {

inline QString studioPath(const QString& rel) { return QStringLiteral(MS_STUDIO_DIR "/") + rel; }

// The real items of a library folder (not the empty "000" one) whose names start with prefix,
// sorted by name.
inline QStringList items(const QString& folder, const QString& prefix = QString()) {
    QStringList out;
    for (const QString& n :
         QDir(studioPath(folder)).entryList({QStringLiteral("*.tta")}, QDir::Files, QDir::Name))
        if (!n.startsWith(QLatin1String("000")) && n.startsWith(prefix)) out << n;
    return out;
}

// A component file as an ARGB32 picture (not premultiplied); null when it cannot be read.
inline QImage component(const QString& folder, const QString& name) {
    ms::ComponentImage c;
    if (!ms::readComponentFile(studioPath(folder + QLatin1Char('/') + name), ms::GridSizing::fromHeader(), c))
        return {};
    return ms::imageFromGrid(c.grid).convertToFormat(QImage::Format_ARGB32);
}

// Brightness of a pixel as the eye weighs its channels.
inline double luminance(QRgb p) { return 0.3 * qRed(p) + 0.59 * qGreen(p) + 0.11 * qBlue(p); }

// Pixels whose alpha is at least `threshold`, as a mask the size of the picture.
inline std::vector<bool> alphaMask(const QImage& img, int threshold) {
    std::vector<bool> m(static_cast<size_t>(img.width()) * img.height());
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            m[static_cast<size_t>(y) * img.width() + x] = qAlpha(row[x]) >= threshold;
    }
    return m;
}

// Intersection over union of two masks of the same size; 0 when both are empty.
inline double overlap(const std::vector<bool>& a, const std::vector<bool>& b) {
    size_t both = 0, either = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either == 0 ? 0.0 : static_cast<double>(both) / static_cast<double>(either);
}

}  // namespace arttest
