// Checks of the generated hair pictures: every category well stocked, no holes in the hair, the
// portrait's own hair always hidden, and items of a category that differ in outline.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <map>

#include "Geometry.h"
#include "platform/HairstyleDatabase.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

const char* const kCodes[] = {"cj", "cz", "dj", "dz", "l", "mj", "mz", "n", "o", "p", "s", "y"};

// Items of the hairstyle library by category code ("dz001.tta" belongs to "dz", never to "d").
std::map<QString, QStringList> itemsByCode() {
    std::map<QString, QStringList> out;
    const QRegularExpression name(QStringLiteral("^([a-z]+)\\d{3}\\.tta$"));
    for (const QString& n : arttest::items(QStringLiteral("faxing")))
        if (const auto m = name.match(n); m.hasMatch()) out[m.captured(1)] << n;
    return out;
}

QImage hair(const QString& name) { return arttest::component(QStringLiteral("faxing"), name); }

size_t at(int x, int y) { return static_cast<size_t>(y) * kCanvasW + x; }

// Pixels whose centre lies inside the portrait's own hair; `edge` marks those within 1.5 px of
// its outline, where antialiasing of the hairline may leave a pixel short of opaque.
struct OwnHair {
    std::vector<bool> inside, edge;
    OwnHair() : inside(static_cast<size_t>(kCanvasW) * kCanvasH), edge(inside.size()) {
        const QPainterPath region = ownHairRegion();
        for (int y = 0; y < kCanvasH; ++y)
            for (int x = 0; x < kCanvasW; ++x) {
                const QPointF c(x + 0.5, y + 0.5);
                inside[at(x, y)] = region.contains(c);
                bool allIn = true;
                for (QPointF d :
                     {QPointF(-1.5, -1.5), QPointF(1.5, -1.5), QPointF(-1.5, 1.5), QPointF(1.5, 1.5)})
                    allIn = allIn && region.contains(c + d);
                edge[at(x, y)] = inside[at(x, y)] && !allIn;
            }
    }
};

const OwnHair& ownHair() {
    static const OwnHair o;
    return o;
}

// Sizes of the fully transparent patches above the ears that are walled in by hair: reached
// neither from the picture's border nor from the bare face (seeded at the eyes, brows, nose,
// mouth and forehead), not even through faint hair. A patch between a stray wisp and the mass is
// background seen past the wisp, not a hole.
std::vector<int> enclosedHoles(const QImage& img) {
    const int w = img.width(), h = img.height();
    std::vector<char> clear(static_cast<size_t>(w) * h), faint(clear.size()), seen(clear.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            clear[at(x, y)] = qAlpha(img.pixel(x, y)) < 8;
            faint[at(x, y)] = qAlpha(img.pixel(x, y)) < 100;
        }
    const std::vector<char>* open = &faint;  // the outside first, then the holes one by one
    std::vector<std::pair<int, int>> stack;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || !(*open)[at(x, y)] || seen[at(x, y)]) return;
        seen[at(x, y)] = 1;
        stack.emplace_back(x, y);
    };
    auto fill = [&] {
        int count = 0;
        while (!stack.empty()) {
            const auto [x, y] = stack.back();
            stack.pop_back();
            ++count;
            push(x + 1, y), push(x - 1, y), push(x, y + 1), push(x, y - 1);
        }
        return count;
    };
    for (int x = 0; x < w; ++x) push(x, 0), push(x, h - 1);
    for (int y = 0; y < h; ++y) push(0, y), push(w - 1, y);
    const QPointF faceSeeds[] = {{kEyeLeftX, kEyeY},   {kEyeRightX, kEyeY}, {kEyeLeftX, kBrowY},
                                 {kEyeRightX, kBrowY}, {kMidX, kEyeY},      {kMidX, kMouthY},
                                 {kMidX, 150}};
    for (QPointF s : faceSeeds) push(static_cast<int>(s.x()), static_cast<int>(s.y()));
    fill();
    open = &clear;
    std::vector<int> holes;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < w; ++x)
            if (clear[at(x, y)] && !seen[at(x, y)]) {
                push(x, y);
                holes.push_back(fill());
            }
    return holes;
}

}  // namespace

// Every category offers at least eight styles, each with its info card and its database record.
TEST(HairArt, EveryCategoryIsStockedWithCardsAndRecords) {
    const auto byCode = itemsByCode();
    ms::HairstyleDatabase db(arttest::studioPath(QStringLiteral("dova.mdb")));
    ASSERT_TRUE(db.open());
    for (const char* code : kCodes) {
        const auto it = byCode.find(QString::fromLatin1(code));
        const QStringList names = it == byCode.end() ? QStringList() : it->second;
        EXPECT_GE(names.size(), 8) << code;
        for (const QString& n : names) {
            const QString card = QStringLiteral("faxing1/") + n.chopped(3) + QStringLiteral("BMP");
            EXPECT_FALSE(QImage(arttest::studioPath(card)).isNull()) << card.toStdString();
            std::optional<ms::HairstyleRecord> record;
            EXPECT_TRUE(db.select(n, record) && record.has_value()) << "no record for " << n.toStdString();
        }
    }
}

// The hair is solid: no see-through hole walled in by hair above the ears, and every pixel of the
// portrait's own hair lies under opaque hair (a few antialiased pixels on its outline may not).
TEST(HairArt, HairIsSolidAndHidesThePortraitsOwnHair) {
    for (const auto& [code, names] : itemsByCode())
        for (const QString& n : names) {
            const QImage img = hair(n);
            ASSERT_FALSE(img.isNull()) << n.toStdString();
            for (int size : enclosedHoles(img)) EXPECT_LE(size, 6) << n.toStdString() << ": hole in the hair";
            int edgeMisses = 0, innerMisses = 0;
            for (int y = 0; y < kCanvasH; ++y)
                for (int x = 0; x < kCanvasW; ++x)
                    if (ownHair().inside[at(x, y)] && qAlpha(img.pixel(x, y)) < 250)
                        ++(ownHair().edge[at(x, y)] ? edgeMisses : innerMisses);
            EXPECT_EQ(innerMisses, 0) << n.toStdString() << ": the portrait's own hair shows through";
            EXPECT_LE(edgeMisses, 8) << n.toStdString() << ": the portrait's own hairline shows";
            int stray = 0;  // the head is far from the picture's sides: nothing touches them beside it
            for (int y = 0; y < 240; ++y)
                for (int x : {0, 1, kCanvasW - 2, kCanvasW - 1}) stray += qAlpha(img.pixel(x, y)) > 0;
            EXPECT_EQ(stray, 0) << n.toStdString() << ": marks at the picture's side beside the head";
        }
}

// Within a category the styles differ in outline, not only in colour: the opaque masks, outside
// the skull cap that every style shares, overlap little.
TEST(HairArt, StylesOfACategoryHaveTheirOwnOutlines) {
    for (const auto& [code, names] : itemsByCode()) {
        std::vector<std::vector<bool>> masks;
        for (const QString& n : names) {
            std::vector<bool> m = arttest::alphaMask(hair(n), 128);
            for (size_t i = 0; i < m.size(); ++i) m[i] = m[i] && !ownHair().inside[i];
            masks.push_back(std::move(m));
        }
        double worst = 0;
        QString pair;
        for (size_t a = 0; a < masks.size(); ++a)
            for (size_t b = a + 1; b < masks.size(); ++b) {
                const double iou = arttest::overlap(masks[a], masks[b]);
                EXPECT_LT(iou, 0.60) << names[a].toStdString() << " and " << names[b].toStdString();
                if (iou > worst) worst = iou, pair = names[a] + QStringLiteral(" ") + names[b];
            }
        std::printf("%-3s worst outline overlap %.2f (%s)\n", qPrintable(code), worst, qPrintable(pair));
    }
}

// Curls are dense locks: no half see-through pockets inside the curly mass. A pocket is a pixel
// under half cover with solid hair within 6 px in each of the four directions.
TEST(HairArt, CurlsLeaveNoSeeThroughPocketsInTheirMass) {
    constexpr int kReach = 6;
    auto byCode = itemsByCode();
    for (const char* code : {"cj", "mj", "dj", "o"})
        for (const QString& n : byCode[QString::fromLatin1(code)]) {
            const QImage img = hair(n);
            auto solid = [&](int x, int y, int dx, int dy) {
                for (int k = 1; k <= kReach; ++k)
                    if (qAlpha(img.pixel(x + dx * k, y + dy * k)) >= 200) return true;
                return false;
            };
            int hairPixels = 0, pockets = 0;
            for (int y = kReach; y < kCanvasH - kReach; ++y)
                for (int x = kReach; x < kCanvasW - kReach; ++x) {
                    if (qAlpha(img.pixel(x, y)) >= 128)
                        ++hairPixels;
                    else
                        pockets += solid(x, y, 1, 0) && solid(x, y, -1, 0) && solid(x, y, 0, 1) &&
                                   solid(x, y, 0, -1);
                }
            EXPECT_LE(pockets * 500, hairPixels)
                << n.toStdString() << ": " << pockets << " see-through pockets";
        }
}

// Short curls end over the forehead in single curls: across the middle of the forehead the lower
// edge of the hair departs from a smooth curve, where a combed fringe ends in one cut line.
TEST(HairArt, ShortCurlsEndOverTheForeheadInCurls) {
    int checked = 0;
    auto byCode = itemsByCode();
    for (const QString& n : byCode[QStringLiteral("dj")]) {
        const QImage img = hair(n);
        std::vector<double> edge;  // per column, the first row below y 125 the hair leaves open
        bool covered = true;
        for (int x = 160; x <= 220; ++x) {
            covered = covered && qAlpha(img.pixel(x, 125)) >= 128;
            int y = 125;
            while (y < 200 && qAlpha(img.pixel(x, y)) >= 128) ++y;
            edge.push_back(y);
        }
        if (!covered) continue;  // a bare forehead: no edge to look at
        ++checked;
        // The least-squares parabola through the edge (x scaled to -1..1), by elimination.
        const int m = static_cast<int>(edge.size());
        auto powers = [m](int i, double* p) {
            const double x = 2.0 * i / (m - 1) - 1.0;
            p[0] = 1, p[1] = x, p[2] = x * x;
        };
        double a[3][4] = {}, p[3], c[3];
        for (int i = 0; i < m; ++i) {
            powers(i, p);
            for (int j = 0; j < 3; ++j) {
                for (int k = 0; k < 3; ++k) a[j][k] += p[j] * p[k];
                a[j][3] += p[j] * edge[i];
            }
        }
        for (int j = 0; j < 3; ++j)
            for (int k = j + 1; k < 3; ++k)
                for (int col = 3; col >= j; --col) a[k][col] -= a[k][j] / a[j][j] * a[j][col];
        for (int j = 2; j >= 0; --j) {
            c[j] = a[j][3];
            for (int k = j + 1; k < 3; ++k) c[j] -= a[j][k] * c[k];
            c[j] /= a[j][j];
        }
        double off = 0;
        for (int i = 0; i < m; ++i) {
            powers(i, p);
            off += std::abs(edge[i] - c[0] * p[0] - c[1] * p[1] - c[2] * p[2]) / m;
        }
        EXPECT_GE(off, 1.0) << n.toStdString() << ": the hair ends over the forehead in one smooth line";
    }
    EXPECT_GE(checked, 2) << "too few short curly styles reach over the forehead";
}
