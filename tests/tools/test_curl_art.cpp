// Checks of the medium and long curly hairstyles: their lengths are curls of uneven size and
// spacing, not one coil repeated at an even step down every column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/ArtFiles.h"

namespace {

double luminance(QRgb p) { return 0.3 * qRed(p) + 0.59 * qGreen(p) + 0.11 * qBlue(p); }

// How unevenly the lit turns follow each other down the lengths beside the face: for each column
// of solid hair at least 100 px long (light averaged over 7 px across and 5 px down), the
// coefficient of variation of the gaps between its light peaks; averaged over the columns.
// Returns -1 when no column qualifies.
double spacingVariation(const QImage& img) {
    double sum = 0;
    int columns = 0;
    for (int x = 24; x < 356; x += 4) {
        if (x > 112 && x < 268) continue;  // the face
        std::vector<double> run;
        for (int y = 220; y < img.height() && run.size() < 250; ++y) {
            double light = 0;
            bool solid = true;
            for (int k = -3; k <= 3; ++k) {
                light += luminance(img.pixel(x + k, y));
                solid = solid && qAlpha(img.pixel(x + k, y)) >= 230;
            }
            if (solid) {
                run.push_back(light);
            } else if (run.size() >= 100) {
                break;
            } else {
                run.clear();
            }
        }
        const int n = static_cast<int>(run.size());
        if (n < 100) continue;
        std::vector<double> smooth(n);
        for (int i = 0; i < n; ++i) {
            const int a = std::max(0, i - 2), b = std::min(n - 1, i + 2);
            for (int k = a; k <= b; ++k) smooth[i] += run[k] / (b - a + 1);
        }
        std::vector<int> peaks;
        for (int i = 3; i < n - 3; ++i)
            if (*std::max_element(smooth.begin() + i - 3, smooth.begin() + i + 4) <= smooth[i] &&
                (peaks.empty() || i - peaks.back() > 3))
                peaks.push_back(i);
        if (peaks.size() < 5) continue;
        const int gaps = static_cast<int>(peaks.size()) - 1;
        const double mean = static_cast<double>(peaks.back() - peaks.front()) / gaps;
        double var = 0;
        for (int i = 1; i <= gaps; ++i) var += std::pow(peaks[i] - peaks[i - 1] - mean, 2) / gaps;
        sum += std::sqrt(var) / mean;
        ++columns;
    }
    return columns > 0 ? sum / columns : -1;
}

TEST(CurlArt, LengthsDoNotRepeatOneCoilAtAnEvenStep) {
    for (const char* code : {"mj", "cj"}) {
        double sum = 0;
        int measured = 0;
        for (const QString& name : arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code))) {
            const double v = spacingVariation(arttest::component(QStringLiteral("faxing"), name));
            if (v >= 0) sum += v, ++measured;
        }
        ASSERT_GE(measured, 3) << code << ": too few styles with curly lengths to measure";
        // Evenly stacked barrel coils vary their spacing by about 0.3; loose curls and waves by more.
        EXPECT_GE(sum / measured, 0.35) << code << ": the curls repeat at an even step";
    }
}

}  // namespace
