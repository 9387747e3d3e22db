// Whole compositions of the installed library, checked against an independent rendering: the same
// component files drawn with QPainter onto the sample portrait. Our blend is exact and Qt's rounds
// a little differently, so the comparison allows a small difference per channel and a budget of
// pixels beyond it; a failure writes actual.png, expected.png and diff.png side by side.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"
#include "platform/FileLookup.h"

using namespace ms;

namespace {

constexpr Layer kRedrawOrder[] = {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips,    Layer::Necklace,
                                  Layer::Clothing,    Layer::Hairstyle,    Layer::Glasses, Layer::Hat,
                                  Layer::EarringLeft, Layer::EarringRight};

QString studioFolder() { return QStringLiteral(MS_STUDIO_DIR); }

// The n-th real component of a kind's library (the "000" item is the empty one).
QString component(const StudioState& s, Kind k, int n) {
    QStringList real;
    for (const QString& name : listMatching(s.path(kindInfo(k).folder()), QStringLiteral("*")))
        if (!name.startsWith(QLatin1String("000")))
            real << s.path(kindInfo(k).folder() + QLatin1Char('/') + name);
    return real.isEmpty() ? QString() : real[n % real.size()];
}

// A design wearing a real component of every kind, prepared and redrawn.
struct Dressed {
    StudioState s;
    explicit Dressed(int variant, int stretch) {
        EXPECT_TRUE(initialiseStudio(s, studioFolder()));
        EXPECT_TRUE(CHUSHI_MOBAN(s));
        for (Kind k : componentKinds()) {
            s.doc.design.*kindInfo(k).file = component(s, k, variant);
            EXPECT_FALSE((s.doc.design.*kindInfo(k).file).isEmpty()) << kindInfo(k).key;
        }
        EXPECT_TRUE(huaban_hecheng2(s));
        for (Kind k : componentKinds())
            for (auto f : geometryFields(k)) s.doc.design.geometry.*f = static_cast<int16_t>(stretch);
        huaban_hecheng1(s);
    }
};

// The same design drawn by Qt: each file read, the lips tinted, premultiplied and painted at the
// redraw placements with Qt's own sampling.
QImage paintedByQt(const StudioState& s, bool smooth) {
    QImage canvas = s.doc.design.PicMT.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    for (Layer l : kRedrawOrder) {
        const KindInfo& k = kindInfo(kindOf(l));
        ComponentImage file;
        EXPECT_TRUE(readComponentFile(s.doc.design.*k.file, k.sizing(), file));
        if (k.step == SurfaceStep::LipColour)
            for (uint32_t& px : file.grid.pixels)
                px = pixelFromColourValue(s.doc.design.lipColour, alphaOf(px));
        const Placement pl = redrawPlacement(l, s.doc.design.geometry, s.doc.design.hairHeight);
        p.drawImage(pl.dst, imageFromGrid(file.grid), pl.src);
    }
    return canvas;
}

struct Comparison {
    int beyond = 0;  // pixels with a channel further apart than the tolerance
    QImage diff;
};

Comparison compare(const QImage& actual, const QImage& expected, int tolerance) {
    Comparison c;
    c.diff = QImage(actual.size(), QImage::Format_RGB32);
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                    std::abs(qBlue(a) - qBlue(e))});
            c.beyond += d > tolerance;
            c.diff.setPixel(x, y, d > tolerance ? qRgb(255, 0, 0) : qRgb(d * 40, d * 40, d * 40));
        }
    return c;
}

void expectClose(const QString& name, const QImage& actual, const QImage& expected, int tolerance,
                 int budget) {
    const Comparison c = compare(actual, expected, tolerance);
    std::printf("%s: %d beyond %d (budget %d)\n", qPrintable(name), c.beyond, tolerance, budget);
    EXPECT_LE(c.beyond, budget) << name.toStdString() << ": " << c.beyond << " pixels differ by more than "
                                << tolerance;
    if (c.beyond <= budget) return;
    const QString folder = QDir::current().absoluteFilePath(QStringLiteral("golden/") + name);
    QDir().mkpath(folder);
    actual.save(folder + QStringLiteral("/actual.png"));
    expected.save(folder + QStringLiteral("/expected.png"));
    c.diff.save(folder + QStringLiteral("/diff.png"));
    ADD_FAILURE() << "pictures written to " << folder.toStdString();
}

}  // namespace

TEST(Golden, DressedPortraitMatchesAnIndependentRendering) {
    for (int variant : {0, 1}) {
        Dressed d(variant, 0);
        expectClose(QStringLiteral("dressed-%1").arg(variant), d.s.session.views.Pichuaban,
                    paintedByQt(d.s, false), 2, 380 * 480 / 200);
    }
}

TEST(Golden, StretchedLayersMatchQtsBilinearRendering) {
    Dressed d(0, 3);
    // Qt's bilinear filter rounds its weights a little differently.
    expectClose(QStringLiteral("stretched"), d.s.session.views.Pichuaban, paintedByQt(d.s, true), 4,
                380 * 480 / 200);
}

// The screenshot tests only see that something is drawn; here every kind must change the picture.
TEST(Golden, EveryLayerShowsOnTheCanvas) {
    Dressed d(0, 0);
    const QImage full = d.s.session.views.Pichuaban.copy();
    for (Kind k : componentKinds()) {
        Surface kept = d.s.doc.surfaces.of(k);
        d.s.doc.surfaces.of(k).clear();
        huaban_hecheng1(d.s);
        const int changed = compare(d.s.session.views.Pichuaban, full, 8).beyond;
        // The smallest first item is a pair of diamond studs, about 80 pixels.
        EXPECT_GT(changed, 40) << kindInfo(k).key << " adds only " << changed << " visible pixels";
        d.s.doc.surfaces.of(k) = kept;
    }
    huaban_hecheng1(d.s);
    EXPECT_EQ(compare(d.s.session.views.Pichuaban, full, 0).beyond, 0);
}
