// Checks of the generated sample portrait: bare, with its own hair inside the region that every
// hairstyle covers, and modelled as a photograph would show it.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

int alphaAt(const QImage& img, int x, int y) { return qAlpha(img.pixel(x, y)); }

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

// Mean luminance of the 5 x 5 pixels round (x, y), and the same of red less green over red.
double meanLuminance(const QImage& img, int x, int y) {
    double sum = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) sum += luminance(img.pixel(x + dx, y + dy)) / 25.0;
    return sum;
}
double redness(const QImage& img, int x, int y) {
    double sum = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QRgb c = img.pixel(x + dx, y + dy);
            sum += (qRed(c) - qGreen(c)) / static_cast<double>(qRed(c)) / 25.0;
        }
    return sum;
}

// Pixels of a luminance profile between 20 % and 80 % of the way from the mean of its first four
// values to the mean of its last four: how wide an edge is that runs from one flat field to another.
int transitionWidth(const std::vector<double>& profile) {
    const size_t n = profile.size();
    const double a = (profile[0] + profile[1] + profile[2] + profile[3]) / 4,
                 b = (profile[n - 1] + profile[n - 2] + profile[n - 3] + profile[n - 4]) / 4;
    int count = 0;
    for (double v : profile) {
        const double t = (v - a) / (b - a);
        count += t > 0.2 && t < 0.8;
    }
    return count;
}

// The steepest step between neighbours of a profile, as a share of its whole range: near 1 at a
// crisp edge, small at a blurred one.
double crispness(const std::vector<double>& profile) {
    const auto [lo, hi] = std::minmax_element(profile.begin(), profile.end());
    double step = 0;
    for (size_t i = 1; i < profile.size(); ++i) step = std::max(step, std::abs(profile[i] - profile[i - 1]));
    return step / std::max(1.0, *hi - *lo);
}

// Luminance along row y from x0 to x1, each the mean of five rows: across a steep edge.
std::vector<double> rowProfile(const QImage& img, int y, int x0, int x1) {
    std::vector<double> out;
    for (int x = x0; x != x1; x += x1 > x0 ? 1 : -1) {
        double sum = 0;
        for (int dy = -2; dy <= 2; ++dy) sum += luminance(img.pixel(x, y + dy)) / 5.0;
        out.push_back(sum);
    }
    return out;
}

// Fine texture over the 12 x 12 pixels from (x0, y0): the mean difference of each pixel's luminance
// from the mean of its four neighbours.
double fineTexture(const QImage& img, int x0, int y0) {
    double sum = 0;
    for (int y = y0; y < y0 + 12; ++y)
        for (int x = x0; x < x0 + 12; ++x)
            sum += std::abs(luminance(img.pixel(x, y)) -
                            0.25 * (luminance(img.pixel(x - 1, y)) + luminance(img.pixel(x + 1, y)) +
                                    luminance(img.pixel(x, y - 1)) + luminance(img.pixel(x, y + 1))));
    return sum / 144;
}

bool skinLike(QRgb c) { return qRed(c) > qGreen(c) && qGreen(c) > qBlue(c) && qRed(c) - qBlue(c) >= 20; }

}  // namespace

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

// A photograph rather than a render: the hairline on the forehead fades in over several pixels, the
// lens keeps the eyes sharp, the backdrop carries colour noise, and the skin flushes at the tip of
// the nose and on the cheeks.
TEST(FaceArt, PortraitReadsAsAPhotograph) {
    const QImage portrait = QImage(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")))
                                .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(portrait.isNull());
    // Down the middle of the forehead, from the hair into the skin.
    std::vector<double> down;
    for (int y = 95; y < 140; ++y) down.push_back(meanLuminance(portrait, 190, y));
    EXPECT_GE(transitionWidth(down), 5) << "the hairline is a hard edge";
    // The eyes are in focus: the edge of an iris stays crisp.
    EXPECT_GT(crispness(rowProfile(portrait, 205, 142, 151)), 0.4) << "the eyes are out of focus";

    // Colour noise: red less blue changes from one pixel of the backdrop to the next.
    double sum = 0, sum2 = 0;
    int n = 0;
    for (int y = 20; y < 120; ++y)
        for (int x = 10; x < 60; ++x, ++n) {
            const QRgb c = portrait.pixel(x, y), d = portrait.pixel(x + 1, y);
            const double step = (qRed(c) - qBlue(c)) - (qRed(d) - qBlue(d));
            sum += step;
            sum2 += step * step;
        }
    EXPECT_GT(std::sqrt(sum2 / n - (sum / n) * (sum / n)), 1.2) << "no colour noise";

    // Where long hair falls beside the jaw, the backdrop lies in the shade of the head: 4 to 12 px
    // outside the jaw it stays well below the lit backdrop beside the temples, or a hairstyle shows a
    // pale band between jaw and hair. The chin shades the top of the neck as well.
    const std::vector<QPointF> outline = installdata::face::faceHalfOutline();
    double pocket = 0, lit = 0;
    int pocketN = 0, litN = 0;
    for (int y = 285; y <= 325; ++y) {
        double jaw = outline.back().x();
        for (size_t i = 1; i < outline.size(); ++i)
            if (outline[i - 1].y() <= y && y <= outline[i].y())
                jaw = outline[i - 1].x() + (outline[i].x() - outline[i - 1].x()) * (y - outline[i - 1].y()) /
                                               (outline[i].y() - outline[i - 1].y());
        for (int d = 4; d <= 12; d += 2, pocketN += 2)
            pocket += luminance(portrait.pixel(static_cast<int>(jaw) - d, y)) +
                      luminance(portrait.pixel(static_cast<int>(2 * installdata::face::kMidX - jaw) + d, y));
    }
    for (int y = 150; y < 200; y += 2)
        for (int x = 40; x < 70; x += 2, litN += 2)
            lit += luminance(portrait.pixel(x, y)) + luminance(portrait.pixel(379 - x, y));
    EXPECT_LT(pocket / pocketN, 0.6 * lit / litN) << "the backdrop beside the jaw is pale";
    EXPECT_LT(meanLuminance(portrait, 190, 339), 0.8 * meanLuminance(portrait, 190, 355))
        << "the chin casts no shade on the neck";

    const double forehead = redness(portrait, 190, 140);
    EXPECT_GT(redness(portrait, 190, 246), forehead + 0.02) << "the nose is not flushed";
    EXPECT_GT(redness(portrait, 148, 248), forehead + 0.02) << "the cheeks are not flushed";
}

// The face outline turns at the jaw angle, level with the mouth, and ends in a broad chin; the lit
// cheek shows its bone and the hollow under it, the lit front of the face narrows below it, and fine
// pores break up its highlight.
TEST(FaceArt, PortraitHasAJawAndModelledLitSkin) {
    const std::vector<QPointF> outline = installdata::face::faceHalfOutline();
    double turn = 0;
    for (size_t i = 1; i + 1 < outline.size(); ++i) {
        if (outline[i].y() < 270 || outline[i].y() > 300) continue;
        const QPointF a = outline[i] - outline[i - 1], b = outline[i + 1] - outline[i];
        turn = std::max(turn, std::abs(std::atan2(a.x(), a.y()) - std::atan2(b.x(), b.y())) * 180 / M_PI);
    }
    EXPECT_GT(turn, 20.0) << "the jaw has no angle";
    const double bottom = outline.back().y(), y = bottom - 3;
    double chin = installdata::face::kMidX;
    for (size_t i = 1; i < outline.size(); ++i)
        if (outline[i - 1].y() <= y && y <= outline[i].y())
            chin = outline[i - 1].x() + (outline[i].x() - outline[i - 1].x()) * (y - outline[i - 1].y()) /
                                            (outline[i].y() - outline[i - 1].y());
    EXPECT_GT(2 * (installdata::face::kMidX - chin), 30.0) << "the chin is pointed";

    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    EXPECT_GT(meanLuminance(portrait, 134, 229), meanLuminance(portrait, 136, 264) + 6)
        << "the lit cheekbone does not stand out over the hollow below it";
    // Below the cheekbones the sides of the face turn away: the skin lit like the cheek spans clearly
    // less of the face above the mouth than across the cheekbones.
    const double litCheek = meanLuminance(portrait, 142, 238);
    auto litWidth = [&](int row) {
        const std::vector<double> profile = rowProfile(portrait, row, 118, 262);
        return std::count_if(profile.begin(), profile.end(), [&](double v) { return v >= 0.8 * litCheek; });
    };
    EXPECT_LT(litWidth(276), 0.8 * litWidth(236))
        << "the lower face is as wide in the light as the cheekbones: " << litWidth(276) << " of "
        << litWidth(236) << " px";
    // Fine texture in the lit cheekbone and in the out-of-focus backdrop, which carries only the film
    // grain.
    auto texture = [&](int x0, int y0) { return fineTexture(portrait, x0, y0); };
    EXPECT_GT(texture(128, 222), 1.08 * texture(30, 160)) << "no pores show in the lit cheek";
    EXPECT_GT(texture(180, 140), 1.08 * texture(30, 160)) << "no pores show in the lit forehead";
}

// The lower face under the key from the upper left: the far cheek between the mouth and the outline
// is a plane turning smoothly away, not a dark band like a beard shadow, and the lips carry a rose
// colour well apart from the skin's, not a greyish brown.
TEST(FaceArt, PortraitLowerFaceTurnsSmoothlyAndTheLipsAreRose) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    const double far = meanLuminance(portrait, 232, 285), near = meanLuminance(portrait, 148, 285);
    EXPECT_GT(far, 0.62 * near) << "the far cheek beside the mouth is a dark band: " << far << " against "
                                << near << " on the lit cheek";
    double lips = 0;
    for (const auto& [x, y] : {std::pair{180, 287}, {200, 287}, {186, 298}, {194, 298}})
        lips += redness(portrait, x, y) / 4;
    const double forehead = redness(portrait, 190, 140);
    EXPECT_GT(lips, forehead + 0.2) << "the lips are greyish: redness " << lips << " against " << forehead
                                    << " on the forehead";
}

// The nose has form under the key from the upper left: its far side lies in shade beside the lit
// ridge of the bridge, the nostrils are dark openings under the lit tip, and the tip shades the lip.
TEST(FaceArt, PortraitNoseHasForm) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    EXPECT_LT(meanLuminance(portrait, 196, 232), 0.73 * meanLuminance(portrait, 188, 230))
        << "the far side of the nose is as light as its bridge";
    const double tip = meanLuminance(portrait, 188, 245);
    for (int x : {185, 195})
        EXPECT_LT(meanLuminance(portrait, x, 258), 0.56 * tip) << "no dark nostril at x " << x;
    EXPECT_LT(meanLuminance(portrait, 192, 265), 0.92 * meanLuminance(portrait, 190, 277))
        << "the tip throws no shade on the upper lip";
}

// The neck is a column set back behind the jaw and in the shade of the head: across its front just
// above the collarbones it stays below the light on the lit cheek, never a pale collar under the chin.
TEST(FaceArt, PortraitNeckSitsInTheShadeOfTheHead) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    const double cheek = meanLuminance(portrait, 142, 238);
    for (int x = 166; x <= 202; x += 12)
        EXPECT_LT(meanLuminance(portrait, x, 352), 0.9 * cheek)
            << "the neck at x " << x << " is lit like the face";
    // A cylinder narrower than the face: 28 px either side of the middle its front has turned into shade.
    const double front = meanLuminance(portrait, 190, 352);
    for (int x : {162, 218})
        EXPECT_LT(meanLuminance(portrait, x, 352), 0.8 * front) << "the neck is a flat block at x " << x;
}

// Face and shoulders lie in one plane of focus: the shoulders' outline is a clear step against the
// backdrop on both sides, not smeared into it, and the shoulders and chest carry the fine texture of
// the lit cheek rather than the smooth blur of an out-of-focus body.
TEST(FaceArt, PortraitShouldersAreInFocusWithTheFace) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    double left = 0, right = 0;
    for (int y = 400; y <= 460; y += 15) {
        left += crispness(rowProfile(portrait, y, 4, 44)) / 5;
        right += crispness(rowProfile(portrait, y, 375, 336)) / 5;
    }
    EXPECT_GT(left, 0.18) << "the near shoulder's outline is blurred into the backdrop";
    EXPECT_GT(right, 0.18) << "the far shoulder's outline is blurred into the backdrop";
    auto texture = [&](int x0, int y0) { return fineTexture(portrait, x0, y0); };
    const double body = (texture(60, 410) + texture(300, 410) + texture(110, 440) + texture(250, 440)) / 4;
    EXPECT_GT(body, 0.9 * texture(128, 222))
        << "the shoulders are smoother than the face: texture " << body << " against " << texture(128, 222);
}

// The neck is a column clearly narrower than the jaw: just below the jaw angles the skin spans well
// under the face's width at the angles, the rest is backdrop, so the lower face does not merge with
// the neck into one block.
TEST(FaceArt, PortraitNeckIsNarrowerThanTheJaw) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    const std::vector<QPointF> outline = installdata::face::faceHalfOutline();
    const auto angle = std::find_if(outline.begin(), outline.end(), [](QPointF p) { return p.y() >= 280; });
    ASSERT_NE(angle, outline.end());
    const double jaw = 2 * (installdata::face::kMidX - angle->x());
    double neck = 0;
    for (int y = 305; y <= 325; y += 5)
        for (int x = 90; x < 290; ++x) neck += skinLike(portrait.pixel(x, y)) / 5.0;
    EXPECT_LT(neck, 0.85 * jaw) << "below the jaw the skin spans " << neck << " px against the jaw's " << jaw;
}

// The skin is not one plastic surface: the open pores of the nose and cheeks show more fine texture
// than the smoother forehead; the hollow between the collarbones is a soft dip, not a narrow dark mark
// like a scar or a stitch; and the near collarbone is a lit ridge with soft shade under it.
TEST(FaceArt, PortraitSkinHasPoresHollowsAndCollarbones) {
    const QImage portrait(arttest::studioPath(QStringLiteral("ziyuan/huaban.bmp")));
    ASSERT_FALSE(portrait.isNull());
    auto texture = [&](int x0, int y0) { return fineTexture(portrait, x0, y0); };
    const double cheek = (texture(132, 234) + texture(144, 242)) / 2,
                 forehead = (texture(172, 128) + texture(196, 128) + texture(180, 140)) / 3;
    EXPECT_GT(cheek, 1.1 * forehead) << "the cheek's texture " << cheek
                                     << " is no coarser than the forehead's " << forehead;
    EXPECT_GT(texture(181, 228), 1.3 * forehead) << "the nose shows no pores";

    // Each pixel's 3 x 3 mean against the 15 x 15 mean round it, at the base of the neck.
    auto boxMean = [&](int x, int y, int r) {
        double sum = 0;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) sum += luminance(portrait.pixel(x + dx, y + dy));
        return sum / ((2 * r + 1) * (2 * r + 1));
    };
    double mark = 0;
    for (int y = 340; y <= 370; ++y)
        for (int x = 175; x <= 205; ++x) mark = std::min(mark, boxMean(x, y, 1) - boxMean(x, y, 7));
    EXPECT_GT(mark, -16.0) << "a narrow mark " << -mark << " levels darker than the skin round it";

    // Down the near collarbone: the brightest row in y 360..375, then at least 4 levels of shade
    // within the next 14 rows.
    for (int x = 140; x <= 160; x += 10) {
        std::vector<double> down;
        for (int y = 360; y < 390; ++y) down.push_back(meanLuminance(portrait, x, y));
        const auto top = std::max_element(down.begin(), down.begin() + 16);
        const double under = *std::min_element(top, std::min(down.end(), top + 14));
        EXPECT_GT(*top - under, 4.0) << "no lit collarbone over a shade at x " << x;
    }
}
