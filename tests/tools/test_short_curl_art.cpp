// Checks of the short curly hairstyles: what lies on the forehead and the face hangs from the mass
// of the hair, never a patch of curls alone on the skin that reads as a stain.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <algorithm>
#include <cstdio>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

size_t at(int x, int y) { return static_cast<size_t>(y) * kCanvasW + x; }

// The bare face: inside the face outline and below the portrait's own hairline.
std::vector<bool> bareFace() {
    const QPainterPath face = symmetricRegion(faceHalfOutline()), hairline = ownHairRegion();
    std::vector<bool> out(static_cast<size_t>(kCanvasW) * kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const QPointF c(x + 0.5, y + 0.5);
            out[at(x, y)] = face.contains(c) && !hairline.contains(c);
        }
    return out;
}

// The pixels of the hair with alpha `least` and up split into 8-connected groups; the label of
// each pixel (-1 where there is no such hair) and the size of each group.
struct Groups {
    std::vector<int> label;
    std::vector<int> size;
};

Groups groupsOf(const QImage& img, int least) {
    const std::vector<bool> hair = arttest::alphaMask(img, least);
    Groups g{std::vector<int>(hair.size(), -1), {}};
    std::vector<std::pair<int, int>> stack;
    for (int y0 = 0; y0 < kCanvasH; ++y0)
        for (int x0 = 0; x0 < kCanvasW; ++x0) {
            if (g.label[at(x0, y0)] >= 0 || !hair[at(x0, y0)]) continue;
            const int id = static_cast<int>(g.size.size());
            g.size.push_back(0);
            g.label[at(x0, y0)] = id;
            stack.emplace_back(x0, y0);
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                ++g.size[id];
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= kCanvasW || ny >= kCanvasH) continue;
                        if (g.label[at(nx, ny)] >= 0 || !hair[at(nx, ny)]) continue;
                        g.label[at(nx, ny)] = id;
                        stack.emplace_back(nx, ny);
                    }
            }
        }
    return g;
}

}  // namespace

// No island on the face: every group of hair that reaches below the hairline onto the bare face
// belongs to the main mass. Looked at twice, for solid hair (alpha 128 and up: a loose patch of
// curls) and for faint hair (64 and up: a smudge that a halo joins to nothing solid). A group cut
// off from the largest one counts by its pixels on the face; 3 px or fewer there, the antialiased
// tip of a curl beside the jaw, are let pass.
TEST(ShortCurlArt, CurlsOnTheFaceHangFromTheMass) {
    const std::vector<bool> face = bareFace();
    const QStringList names = arttest::items(QStringLiteral("faxing"), QStringLiteral("dj"));
    ASSERT_GE(names.size(), 8);
    for (const QString& n : names) {
        const QImage img = arttest::component(QStringLiteral("faxing"), n);
        ASSERT_FALSE(img.isNull()) << n.toStdString();
        for (int least : {128, 64}) {
            const Groups g = groupsOf(img, least);
            ASSERT_FALSE(g.size.empty()) << n.toStdString() << ": no hair";
            const auto main = std::max_element(g.size.begin(), g.size.end()) - g.size.begin();
            std::vector<int> onFace(g.size.size());
            for (size_t i = 0; i < face.size(); ++i)
                if (face[i] && g.label[i] >= 0 && g.label[i] != main) ++onFace[g.label[i]];
            int islands = 0, pixels = 0;
            for (size_t id = 0; id < onFace.size(); ++id)
                if (onFace[id] > 3) ++islands, pixels += onFace[id];
            QPoint where;  // a pixel of one island, to say where to look
            for (size_t i = 0; i < face.size(); ++i)
                if (face[i] && g.label[i] >= 0 && g.label[i] != main && onFace[g.label[i]] > 3)
                    where = QPoint(static_cast<int>(i % kCanvasW), static_cast<int>(i / kCanvasW));
            std::printf("%s alpha >= %d: %d islands on the face, %d px\n", qPrintable(n), least, islands,
                        pixels);
            EXPECT_EQ(islands, 0) << n.toStdString() << ": " << islands
                                  << " patches of hair (alpha >= " << least << ") alone on the face, "
                                  << pixels << " px, one at (" << where.x() << ", " << where.y() << ")";
        }
    }
}
