// Checks of the generated face pictures: the sample portrait, the eyebrow pairs and the lips.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

int alphaAt(const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)); }

// Per column of [x0, x1), the largest alpha of the column, smoothed over three columns so one stray
// hair does not decide where a brow ends.
std::vector<double> columnPeaks(const QImage& img, int x0, int x1) {
    std::vector<double> raw;
    for (int x = x0; x < x1; ++x) {
        int peak = 0;
        for (int y = 0; y < img.height(); ++y) peak = std::max(peak, alphaAt(img, x, y));
        raw.push_back(peak);
    }
    std::vector<double> out(raw.size());
    for (size_t i = 0; i < raw.size(); ++i)
        out[i] = (raw[i > 0 ? i - 1 : i] + raw[i] + raw[std::min(i + 1, raw.size() - 1)]) / 3.0;
    return out;
}

// Columns from an end of the brow (walking inward from `from` by `step`) until the peak alpha
// reaches `hi` of the brow's strongest column, counted from the first column that reaches `lo`.
int rampLength(const std::vector<double>& peaks, int from, int step, double lo, double hi) {
    const double top = *std::max_element(peaks.begin(), peaks.end());
    int start = -1;
    for (int i = from; i >= 0 && i < static_cast<int>(peaks.size()); i += step) {
        if (start < 0 && peaks[i] >= lo * top) start = i;
        if (peaks[i] >= hi * top) return start < 0 ? 0 : std::abs(i - start) + 1;
    }
    return static_cast<int>(peaks.size());
}

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

bool skinLike(QRgb c) { return qRed(c) > qGreen(c) && qGreen(c) > qBlue(c) && qRed(c) - qBlue(c) >= 20; }

}  // namespace

TEST(FaceArt, LibrariesOfferEnoughChoice) {
    for (const char* c : {"d", "k", "m", "o", "w", "x", "y", "z"})
        EXPECT_GE(arttest::items("meimao", QString::fromLatin1(c)).size(), 4) << "eyebrows " << c;
    for (const char* c : {"h", "k", "x", "y", "z"})
        EXPECT_GE(arttest::items("zuixing", QString::fromLatin1(c)).size(), 4) << "lips " << c;
}

TEST(FaceArt, LipsDifferAndLetTheMouthLineThrough) {
    const QStringList names = arttest::items("zuixing");
    ASSERT_FALSE(names.isEmpty());
    std::vector<std::vector<bool>> masks;
    for (const QString& n : names) {
        const QImage lips = arttest::component("zuixing", n);
        ASSERT_EQ(lips.size(), QSize(100, 50)) << n.toStdString();
        masks.push_back(arttest::alphaMask(lips, 128));
        // Local (50, 25) is the mouth centre. Across the middle of the mouth, the mouth line (the
        // weakest row near y 25) stays well below the body of either lip.
        double line = 0, body = 0;
        for (int x = 38; x <= 62; ++x) {
            int upper = 0, lower = 0, weakest = 255;
            for (int y = 5; y < 23; ++y) upper = std::max(upper, alphaAt(lips, x, y));
            for (int y = 28; y < 48; ++y) lower = std::max(lower, alphaAt(lips, x, y));
            for (int y = 21; y <= 30; ++y) weakest = std::min(weakest, alphaAt(lips, x, y));
            line += weakest;
            body += std::min(upper, lower);
        }
        EXPECT_GT(body, 0) << n.toStdString();
        EXPECT_LT(line, 0.75 * body) << n.toStdString() << ": the mouth line is as strong as the lips";
    }
    for (int i = 0; i < names.size(); ++i)
        for (int j = i + 1; j < names.size(); ++j) {
            const double iou = arttest::overlap(masks[i], masks[j]);
            const bool sameCategory = names[i].front() == names[j].front();
            EXPECT_LT(iou, sameCategory ? 0.85 : 0.95)
                << names[i].toStdString() << " and " << names[j].toStdString() << " look alike";
        }
}

TEST(FaceArt, EyebrowsAreSeeThroughWithSoftInnerEnds) {
    const QStringList names = arttest::items("meimao");
    ASSERT_FALSE(names.isEmpty());
    for (const QString& n : names) {
        const QImage pair = arttest::component("meimao", n);
        ASSERT_EQ(pair.size(), QSize(180, 40)) << n.toStdString();
        int strongest = 0;
        for (int y = 0; y < pair.height(); ++y)
            for (int x = 0; x < pair.width(); ++x) strongest = std::max(strongest, alphaAt(pair, x, y));
        EXPECT_LE(strongest, 235) << n.toStdString() << ": skin cannot show through";
        EXPECT_GE(strongest, 120) << n.toStdString() << ": too faint to see";
        // Left brow: inner end toward column 89, tail toward column 0; the right brow mirrors it.
        // A feathered head reaches its full strength over more columns than the crisp tail.
        const std::vector<double> left = columnPeaks(pair, 0, 90), right = columnPeaks(pair, 90, 180);
        const int leftHead = rampLength(left, 89, -1, 0.15, 0.7),
                  leftTail = rampLength(left, 0, 1, 0.15, 0.7);
        const int rightHead = rampLength(right, 0, 1, 0.15, 0.7),
                  rightTail = rampLength(right, 89, -1, 0.15, 0.7);
        EXPECT_GE(leftHead, leftTail + 3) << n.toStdString() << ": inner end not softer than the tail";
        EXPECT_GE(rightHead, rightTail + 3) << n.toStdString() << ": inner end not softer than the tail";
    }
}

TEST(FaceArt, PortraitIsBareWithItsHairInsideTheRegion) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_EQ(portrait.size(), QSize(installdata::face::kCanvasW, installdata::face::kCanvasH));
    const QImage rgba = portrait.convertToFormat(QImage::Format_ARGB32);
    int seeThrough = 0;
    for (int y = 0; y < rgba.height(); ++y)
        for (int x = 0; x < rgba.width(); ++x) seeThrough += alphaAt(rgba, x, y) < 255;
    EXPECT_EQ(seeThrough, 0);

    // A band 1 to 7 px outside the portrait's own hair region: forehead, temples and the
    // background round the crown must show no hair.
    const QPainterPath region = installdata::face::ownHairRegion();
    int band = 0, dark = 0;
    for (int y = 60; y < 230; ++y)
        for (int x = 90; x < 290; ++x) {
            const QPointF at(x + 0.5, y + 0.5);
            if (region.contains(at)) continue;
            bool near = false, touching = false;
            for (int k = 0; k < 24 && !touching; ++k) {
                const QPointF dir(std::cos(k * kPi / 12), std::sin(k * kPi / 12));
                touching = region.contains(at + dir * 1.0);
                near = near || region.contains(at + dir * 7.0);
            }
            if (!near || touching) continue;
            ++band;
            dark += luminance(rgba.pixel(x, y)) < 110;
        }
    ASSERT_GT(band, 500);
    EXPECT_LE(dark, band / 200) << dark << " dark pixels of " << band << " outside the hair region";

    // The upper chest and shoulders, well inside the body outline, are bare skin.
    int chest = 0, skin = 0;
    for (int y = 372; y < rgba.height(); ++y)
        for (int x = 70; x < 310; ++x) {
            ++chest;
            skin += skinLike(rgba.pixel(x, y));
        }
    EXPECT_GE(skin, chest * 97 / 100) << "only " << skin << " of " << chest << " chest pixels read as skin";
}
