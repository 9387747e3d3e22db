// Checks of the medium and long curly hairstyles: their lengths are curls of uneven size and
// spacing, not one coil repeated at an even step down every column, and black curls show their
// turns in cool light rather than melting into one dark mass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/ArtFiles.h"

namespace {

using arttest::luminance;

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

// Black curly hair: the lit fronts of its turns (the brightest few percent of the solid hair below
// the crown) stand well above its typical tone and are cool grey-blue, not brown.
TEST(CurlArt, BlackCurlsShowTheirTurnsInCoolLight) {
    int black = 0;
    for (const char* code : {"mj", "cj"})
        for (const QString& name : arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code))) {
            const QImage img = arttest::component(QStringLiteral("faxing"), name);
            std::vector<QRgb> solid;
            for (int y = 150; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (qAlpha(img.pixel(x, y)) >= 230) solid.push_back(img.pixel(x, y));
            if (solid.size() < 2000) continue;
            std::sort(solid.begin(), solid.end(), [](QRgb a, QRgb b) { return luminance(a) < luminance(b); });
            const double median = luminance(solid[solid.size() / 2]);
            // Black, not dark brown or red: the hair's own tone (the upper middle of its light,
            // averaged over a band so one pixel does not decide) is about as blue as it is red.
            double toneRed = 0, toneBlue = 0;
            const size_t t0 = solid.size() * 7 / 10, t1 = solid.size() * 8 / 10;
            for (size_t i = t0; i < t1; ++i)
                toneRed += qRed(solid[i]) / double(t1 - t0), toneBlue += qBlue(solid[i]) / double(t1 - t0);
            if (median >= 30 || toneRed - toneBlue > 0.25 * toneRed) continue;
            ++black;
            double lum = 0, red = 0, blue = 0;
            const size_t from = solid.size() * 97 / 100, n = solid.size() - from;
            for (size_t i = from; i < solid.size(); ++i)
                lum += luminance(solid[i]) / n, red += qRed(solid[i]) / double(n),
                    blue += qBlue(solid[i]) / double(n);
            std::printf("%s median %.1f lit %.1f red %.1f blue %.1f\n", qPrintable(name), median, lum, red,
                        blue);
            EXPECT_GE(lum, 2.5 * median) << name.toStdString() << ": the curls melt into a dark mass";
            EXPECT_GE(blue, red) << name.toStdString() << ": the light on black curls is brown";
        }
    EXPECT_GE(black, 2) << "too few black curly styles to check";
}

}  // namespace

namespace {

// The luminance of a curly style's lengths below the crown (y 200 on), solid pixels only, sorted:
// its middle value is the hair's own tone there.
std::vector<double> lengthsOf(const QImage& img) {
    std::vector<double> lum;
    for (int y = 200; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) >= 230) lum.push_back(luminance(img.pixel(x, y)));
    std::sort(lum.begin(), lum.end());
    return lum;
}

// Dark curls (black, dark brown, espresso) are near-black over most of each turn: the light gathers
// into narrow glints with soft falloff instead of lighting the whole front of every turn as a flat
// band well above the hair's own tone. Over the dark styles (median below 25), few of the lengths'
// solid pixels are lit (1.6 times the median or more; about 0.12 when every front is a grey band),
// the 90th percentile stays close to the median (1.74 times with the bands), and each style's
// brightest 2% still stand well above it: glints, not a mass darkened all over.
TEST(CurlArt, DarkCurlsGatherTheirLightIntoNarrowGlints) {
    int dark = 0;
    double litShare = 0, upper = 0;
    for (const char* code : {"mj", "cj"})
        for (const QString& name : arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code))) {
            const std::vector<double> lum = lengthsOf(arttest::component(QStringLiteral("faxing"), name));
            if (lum.size() < 2000) continue;
            const double median = lum[lum.size() / 2];
            if (median >= 25) continue;
            ++dark;
            const size_t lit = lum.end() - std::lower_bound(lum.begin(), lum.end(), 1.6 * median);
            const double share = static_cast<double>(lit) / lum.size();
            const double q90 = lum[lum.size() * 9 / 10] / median;
            double top = 0;
            const size_t from = lum.size() * 98 / 100;
            for (size_t i = from; i < lum.size(); ++i) top += lum[i] / double(lum.size() - from);
            std::printf("%s median %.1f lit share %.3f q90 %.2f top %.2f\n", qPrintable(name), median, share,
                        q90, top / median);
            litShare += share;
            upper += q90;
            EXPECT_GE(top, 1.8 * median) << name.toStdString() << ": the dark curls lost their glints";
        }
    ASSERT_GE(dark, 4) << "too few dark curly styles to check";
    std::printf("dark styles %d: lit share %.3f, q90 %.2f\n", dark, litShare / dark, upper / dark);
    EXPECT_LE(litShare / dark, 0.10) << "the fronts of dark curls are lit as flat grey bands";
    EXPECT_LE(upper / dark, 1.65) << "the fronts of dark curls are lit as flat grey bands";
}

}  // namespace
