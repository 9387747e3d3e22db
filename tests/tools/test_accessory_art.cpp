// Checks of the generated accessory pictures: every library well stocked with distinct items,
// necklace strands that turn behind the neck instead of stopping in the air, garments that cover
// the portrait's body, and necklines open enough to show every necklace.
#include <gtest/gtest.h>

#include <QPolygonF>
#include <algorithm>
#include <cstdlib>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

namespace face = installdata::face;

// Canvas places of the components (top-left corners).
constexpr int kNecklaceX = 90, kNecklaceY = 320, kClothingX = -10, kClothingY = 300;

QPolygonF bodyPolygon() {
    QPolygonF poly;
    const auto half = face::bodyHalfOutline();
    for (const QPointF& q : half) poly << q;
    for (auto it = half.rbegin(); it != half.rend(); ++it)
        poly << QPointF(2 * face::kMidX - it->x(), it->y());
    return poly;
}

// Distance from p to the body outline (either half).
double distanceToOutline(QPointF p) {
    const auto half = face::bodyHalfOutline();
    double best = 1e9;
    for (size_t i = 1; i < half.size(); ++i)
        for (double mirror : {0.0, 1.0}) {
            const QPointF a(mirror ? 2 * face::kMidX - half[i - 1].x() : half[i - 1].x(), half[i - 1].y());
            const QPointF b(mirror ? 2 * face::kMidX - half[i].x() : half[i].x(), half[i].y());
            const QPointF ab = b - a;
            const double t =
                std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
            const QPointF q = a + t * ab;
            best = std::min(best, std::hypot(p.x() - q.x(), p.y() - q.y()));
        }
    return best;
}

int alphaAt(const QImage& img, int x, int y) {
    return x < 0 || y < 0 || x >= img.width() || y >= img.height() ? 0 : qAlpha(img.pixel(x, y));
}

struct Item {
    QString name;
    QImage image;
};

std::vector<Item> load(const QString& folder) {
    std::vector<Item> out;
    for (const QString& n : arttest::items(folder)) out.push_back({n, arttest::component(folder, n)});
    return out;
}

// Mean absolute channel difference of two pictures of the same size, over all pixels.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

}  // namespace

TEST(AccessoryArt, EveryLibraryHoldsTenDistinctItems) {
    for (const char* folder : {"erhuan", "xianglian", "fuzhuang"}) {
        const auto items = load(QString::fromLatin1(folder));
        EXPECT_GE(items.size(), 10u) << folder;
        for (size_t i = 0; i < items.size(); ++i) {
            ASSERT_FALSE(items[i].image.isNull()) << folder << '/' << items[i].name.toStdString();
            for (size_t j = 0; j < i; ++j)
                EXPECT_GT(meanDifference(items[i].image, items[j].image), 1.0)
                    << folder << ": " << items[i].name.toStdString() << " repeats "
                    << items[j].name.toStdString();
        }
    }
}

// On each side the strand's topmost opaque pixel is where it turns behind the neck: it must lie on
// the neck, inside the body, and the strand must fade out over several rows above it there.
TEST(AccessoryArt, NecklaceStrandsTurnBehindTheNeck) {
    const QPolygonF body = bodyPolygon();
    for (const Item& n : load(QStringLiteral("xianglian"))) {
        const QImage& img = n.image;
        for (int side = 0; side < 2; ++side) {
            const int x0 = side == 0 ? 0 : img.width() / 2, x1 = side == 0 ? img.width() / 2 : img.width();
            int topX = -1, topY = -1;
            for (int y = 0; y < img.height() && topY < 0; ++y)
                for (int x = x0; x < x1 && topY < 0; ++x)
                    if (alphaAt(img, x, y) >= 128) topX = x, topY = y;
            const std::string where = n.name.toStdString() + (side == 0 ? " left" : " right");
            ASSERT_GE(topY, 0) << where << ": no strand";
            const double cx = topX + kNecklaceX + 0.5, cy = topY + kNecklaceY + 0.5;
            EXPECT_GE(cx, face::kNeckLeftX - 3) << where << " ends beside the neck at x " << cx;
            EXPECT_LE(cx, face::kNeckRightX + 3) << where << " ends beside the neck at x " << cx;
            EXPECT_GE(cy, face::kChinY - 40) << where << " ends above the neck at y " << cy;
            EXPECT_LE(cy, face::kNeckBaseY + 12) << where << " ends below the neck at y " << cy;
            EXPECT_TRUE(body.containsPoint({cx, cy}, Qt::OddEvenFill) || distanceToOutline({cx, cy}) < 1)
                << where << " ends in the air at y " << cy;
            int fadingRows = 0;  // rows right above the end where the strand still shows faintly
            for (int y = topY - 1; y >= 0; --y) {
                int most = 0;
                for (int x = topX - 6; x <= topX + 6; ++x) most = std::max(most, alphaAt(img, x, y));
                if (most < 24) break;
                ++fadingRows;
            }
            EXPECT_GE(fadingRows, 3) << where << " stops with a hard end";
        }
    }
}

// Below the neckline the garment hides all of the body, and it does not stand out past the
// shoulders and arms of the portrait.
TEST(AccessoryArt, ClothingCoversTheBodyAndFitsItsShoulders) {
    const QPolygonF body = bodyPolygon();
    for (const Item& c : load(QStringLiteral("fuzhuang"))) {
        int bare = 0, beyond = 0;
        for (int y = 420; y < face::kCanvasH; ++y)
            for (int x = 0; x < face::kCanvasW; ++x)
                if (body.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill) &&
                    alphaAt(c.image, x - kClothingX, y - kClothingY) < 250)
                    ++bare;
        for (int y = 345; y < face::kCanvasH; ++y)  // collars may stand up beside the neck above
            for (int x = 0; x < face::kCanvasW; ++x) {
                const QPointF p(x + 0.5, y + 0.5);
                if (alphaAt(c.image, x - kClothingX, y - kClothingY) >= 128 &&
                    !body.containsPoint(p, Qt::OddEvenFill) && distanceToOutline(p) > 6)
                    ++beyond;
            }
        EXPECT_EQ(bare, 0) << c.name.toStdString() << " lets the body show below its neckline";
        EXPECT_EQ(beyond, 0) << c.name.toStdString() << " stands out past the shoulders";
    }
}

// The program draws clothing over the necklace: every neckline leaves most of every necklace seen.
TEST(AccessoryArt, NecklinesLeaveEveryNecklaceInSight) {
    const auto necklaces = load(QStringLiteral("xianglian"));
    for (const Item& c : load(QStringLiteral("fuzhuang")))
        for (const Item& n : necklaces) {
            int shown = 0, covered = 0;
            for (int y = 0; y < n.image.height(); ++y)
                for (int x = 0; x < n.image.width(); ++x) {
                    if (alphaAt(n.image, x, y) < 128) continue;
                    const int alpha =
                        alphaAt(c.image, x + kNecklaceX - kClothingX, y + kNecklaceY - kClothingY);
                    ++(alpha >= 128 ? covered : shown);
                }
            EXPECT_GE(shown, 0.6 * (shown + covered))
                << c.name.toStdString() << " hides " << n.name.toStdString() << ": " << covered << " of "
                << shown + covered << " pixels";
        }
}
