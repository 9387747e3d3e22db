// art-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb) wears
// every item of every library category, applied through the library windows, on the sample portrait
// (PHOTO "-") or on a client photo fitted by the automatic face fit. For each category a sheet of the
// canvases is saved as OUT-LIBRARY-TAB.png, and a screenshot of each library window as
// OUT-LIBRARY.png, for judging the art on a real face and the windows as a stylist sees them.
// Exit 0 when every category applied at least one item.
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <cstdio>

#include "E2eSteps.h"
#include "library/CategoryTabs.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "platform/FaceFinder.h"

using namespace ms;
using namespace ms::e2e;

namespace {

// The part of the canvas each library's sheet shows, and how many canvases a sheet row holds.
struct SheetLayout {
    QRect crop;
    int columns;
};

// Every item of the shown category, page by page: the canvas after each application.
QList<QImage> wearEveryItem(Run& run, QWidget* window) {
    QList<QImage> looks;
    for (int page = 0; page < 40; ++page) {
        QList<ThumbnailButton*> buttons = window->findChildren<ThumbnailButton*>();
        std::sort(buttons.begin(), buttons.end(),
                  [](const ThumbnailButton* a, const ThumbnailButton* b) { return a->index() < b->index(); });
        for (ThumbnailButton* b : buttons) {
            if (!b->isVisible() || !b->isEnabled()) continue;
            click(b);
            settle(30);
            looks << run.studio.session.views.Pichuaban.copy();
        }
        auto* next = window->findChild<QPushButton*>(QStringLiteral("Command3"));
        if (!next || !next->isEnabled()) break;
        next->click();
        settle(60);
    }
    return looks;
}

QImage sheet(const QList<QImage>& looks, const SheetLayout& layout) {
    const bool whole = layout.crop.width() >= 300;
    const QSize cell = whole ? layout.crop.size() / 2 : layout.crop.size();
    const int rows = (static_cast<int>(looks.size()) + layout.columns - 1) / layout.columns;
    QImage out(layout.columns * cell.width(), std::max(1, rows) * cell.height(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < looks.size(); ++i)
        p.drawImage(
            QRect(QPoint((i % layout.columns) * cell.width(), (i / layout.columns) * cell.height()), cell),
            looks[i], layout.crop);
    return out;
}

// Every tab of one library window; false when a tab applied nothing.
bool wearLibrary(Run& run, QWidget* window, const char* name, const std::vector<SheetLayout>& layouts) {
    auto* tabs = window->findChild<CategoryTabs*>();
    if (!tabs) return false;
    run.keep(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), name);
    bool all = true;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        clickTab(tabs, tab);
        settle(60);
        if (tabs->current() != tab) {
            std::printf("%s: tab %d did not take the click\n", name, tab);
            all = false;
            continue;
        }
        run.keep(window->grab().toImage(),
                 qPrintable(QStringLiteral("%1-%2-window").arg(QLatin1String(name)).arg(tab)));
        const QList<QImage> looks = wearEveryItem(run, window);
        std::printf("%s tab %d: %d items\n", name, tab, static_cast<int>(looks.size()));
        all = all && !looks.isEmpty();
        const SheetLayout& layout = layouts[std::min<size_t>(tab, layouts.size() - 1)];
        run.keep(sheet(looks, layout), qPrintable(QStringLiteral("%1-%2").arg(QLatin1String(name)).arg(tab)));
    }
    return all;
}

bool fitPhoto(Run& run, const FaceFinder& faces) {
    run.window.setFaceFinder(&faces);
    if (QWidget* welcome = run.window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    click(run.window.findChild<HotLabel*>(QStringLiteral("Label9_0")));
    settle();
    auto* dialog = run.window.findChild<FrmDKWJ*>();
    if (!dialog) return false;
    emit dialog->photoChosen(run.photo);  // the adjustment fits the face by itself
    dialog->close();
    settle(600);
    auto* adjust = run.window.findChild<Frmbj*>(QStringLiteral("Frmbj"));
    if (!adjust) return false;
    click(adjust->findChild<QPushButton*>(QStringLiteral("Command2")));
    settle();
    return true;
}

int wearEverything(Run& run) {
    QDir().mkpath(QFileInfo(run.out).path());
    const FaceFinder faces;
    if (run.photo != QLatin1String("-") && !fitPhoto(run, faces))
        return std::printf("the photo could not be taken in\n"), 1;
    if (QWidget* welcome = run.window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    const SheetLayout whole{QRect(0, 0, 380, 480), 6};
    bool all = true;

    click(run.window.findChild<HotLabel*>(QStringLiteral("ImgFx")));
    settle(400);
    QWidget* hair = run.window.libraries().hairstyleWindow();
    all = hair && wearLibrary(run, hair, "hairstyles", {whole});
    // The stylist takes the hairstyle off (right click on its tool) before the finer work.
    click(run.window.findChild<HotLabel*>(QStringLiteral("ImgFx")), Qt::RightButton);
    settle();

    const std::pair<const char*, const char*> components[] = {{"Imgmm", "eyebrows"}, {"Imgzx", "lips"}};
    const std::vector<SheetLayout> closeUps[] = {{{QRect(90, 150, 200, 80), 4}},
                                                 {{QRect(120, 245, 140, 90), 4}}};
    for (size_t i = 0; i < std::size(components); ++i) {
        click(run.window.findChild<HotLabel*>(QString::fromLatin1(components[i].first)));
        settle(400);
        FrmTK* w = run.window.libraries().componentWindow();
        all = all && w && wearLibrary(run, w, components[i].second, closeUps[i]);
    }
    click(run.window.findChild<HotLabel*>(QStringLiteral("Imgmz")));
    settle(400);
    FrmTK* accessories = run.window.libraries().componentWindow();
    // Hats, glasses, earrings, necklaces, clothing.
    all = all && accessories &&
          wearLibrary(run, accessories, "accessories",
                      {whole,
                       {QRect(90, 150, 200, 100), 4},
                       {QRect(60, 190, 260, 150), 4},
                       {QRect(60, 280, 260, 200), 4},
                       whole});
    return all ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return runMainWindow(argc, argv, "art-screenshot", wearEverything); }
