// Checks of the generated face pictures: the eyebrow pairs and the lips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/ArtFiles.h"

namespace {

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

// Alpha of row y over [x0, x1) less the mean of its two neighbours: the creases, a pixel or two
// wide, without the smooth shape of the lip.
std::vector<double> rowTexture(const QImage& img, int y, int x0, int x1) {
    std::vector<double> out;
    for (int x = x0; x < x1; ++x)
        out.push_back(alphaAt(img, x, y) - 0.5 * (alphaAt(img, x - 1, y) + alphaAt(img, x + 1, y)));
    return out;
}

// Lips parted in a smile: down each column a fully transparent run with lip (alpha >= 128) above and
// below it, over at least 40 columns; the opening is widest in the middle and closes toward the
// ends, and the lips' corners (the outermost columns of alpha >= 64) lie above its middle. Returns ""
// or what is missing.
std::string partedSmileFault(const QImage& lips) {
    const int w = lips.width(), h = lips.height();
    std::vector<int> height(w, 0);
    std::vector<double> middle(w, 0), centroid(w, -1);
    for (int x = 0; x < w; ++x) {
        double sum = 0;
        int strong = 0, stage = 0, from = 0, to = 0;  // stage: 0 above, 1 upper lip, 2 opening, 3 below
        for (int y = 0; y < h; ++y) {
            const int a = alphaAt(lips, x, y);
            if (a >= 64) sum += y, ++strong;
            if (stage == 0 && a >= 128) stage = 1;
            if (stage == 1 && a == 0) stage = 2, from = y;
            if (stage == 2 && a > 0) stage = 3, to = y;
            if (stage == 3 && a >= 128 && height[x] == 0)
                height[x] = to - from, middle[x] = (from + to) / 2.0;
        }
        if (strong > 0) centroid[x] = sum / strong;
    }
    std::vector<int> cols;
    for (int x = 0; x < w; ++x)
        if (height[x] > 0) cols.push_back(x);
    if (cols.size() < 40) return "no opening between the lips";
    const int a = cols.front(), b = cols.back(), mid = (a + b) / 2, eighth = (b - a) / 8;
    if (height[mid] < 4) return "the opening is too low in the middle";
    double left = 0, right = 0;  // mean heights over the outer eighths
    for (int i = 0; i < eighth; ++i)
        left += height[a + i] / double(eighth), right += height[b - i] / double(eighth);
    if (std::max(left, right) > 0.7 * height[mid]) return "the opening does not close toward the corners";
    const auto first = std::find_if(centroid.begin(), centroid.end(), [](double c) { return c >= 0; });
    const auto last = std::find_if(centroid.rbegin(), centroid.rend(), [](double c) { return c >= 0; });
    if (*first > middle[mid] - 3 || *last > middle[mid] - 3) return "the corners do not turn up";
    return {};
}

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

// Besides closed lips, every category has lips for a smile that shows the teeth.
TEST(FaceArt, EveryLipCategoryHasASmileWithPartedLips) {
    for (const char* c : {"h", "k", "x", "y", "z"}) {
        bool found = false;
        std::string faults;
        for (const QString& n : arttest::items("zuixing", QString::fromLatin1(c))) {
            const std::string fault = partedSmileFault(arttest::component("zuixing", n));
            found = found || fault.empty();
            faults += n.toStdString() + ": " + (fault.empty() ? "fine" : fault) + "; ";
        }
        EXPECT_TRUE(found) << "lips " << c << " have no parted smile: " << faults;
    }
}

// The fine creases of the lips are a faint texture, not a pattern: they fan out from the mouth line,
// so a row low on the lower lip matches one near the mouth line shifted outward (right on the right
// half, left on the left half), where a comb of vertical stripes would match unshifted.
TEST(FaceArt, LipCreasesAreFaintAndFanOut) {
    const QStringList names = arttest::items("zuixing");
    ASSERT_FALSE(names.isEmpty());
    // Well inside the lower lip: the lip's own edge would outweigh the creases.
    const auto inside = [](const QImage& img, int x, int y) {
        for (int k = -2; k <= 2; ++k)
            if (alphaAt(img, x + k, y) < 130) return false;
        return true;
    };
    double match[2][7] = {};  // [left, right half][shift -3..3], summed over every picture
    double allTexture = 0, allBody = 0;
    int all = 0;
    for (const QString& n : names) {
        const QImage lips = arttest::component("zuixing", n);
        double texture = 0, body = 0;
        int count = 0;
        for (int half = 0; half < 2; ++half) {
            const int x0 = half == 0 ? 37 : 53;
            const std::vector<double> high = rowTexture(lips, 28, x0, x0 + 10);
            for (int s = -3; s <= 3; ++s) {
                const std::vector<double> low = rowTexture(lips, 32, x0 + s, x0 + 10 + s);
                for (int i = 0; i < 10; ++i)
                    if (inside(lips, x0 + i, 28) && inside(lips, x0 + i + s, 32))
                        match[half][s + 3] += high[i] * low[i];
            }
            for (int i = 0; i < 10; ++i)
                if (inside(lips, x0 + i, 28)) {
                    texture += high[i] * high[i];
                    body += alphaAt(lips, x0 + i, 28);
                    ++count;
                }
        }
        ASSERT_GT(count, 0) << n.toStdString();
        EXPECT_GT(std::sqrt(texture / count), 0.004 * body / count) << n.toStdString() << ": no creases";
        allTexture += texture;
        allBody += body;
        all += count;
    }
    // A comb of one-pixel stripes at a tenth of the alpha comes to some 8 %.
    EXPECT_LT(std::sqrt(allTexture / all), 0.045 * allBody / all) << "the creases read as a pattern";
    // The shift of the best match, refined between columns by a parabola through its neighbours.
    const auto lean = [](const double* m) {
        const int i = std::clamp(static_cast<int>(std::max_element(m, m + 7) - m), 1, 5);
        const double curve = m[i - 1] - 2 * m[i] + m[i + 1];
        return i - 3 + (curve < 0 ? 0.5 * (m[i - 1] - m[i + 1]) / curve : 0.0);
    };
    EXPECT_LT(lean(match[0]), -0.4) << "creases on the left do not lean outward";
    EXPECT_GT(lean(match[1]), 0.4) << "creases on the right do not lean outward";
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
