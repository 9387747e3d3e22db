// preview-install-data P OUT [BASE...]: composes the sample portrait with the components of P at
// their default places and writes PNGs to OUT: one look per component, a sheet per kind, and two
// looks with one component of every kind. Each BASE (a fitted 380 x 480 canvas of a client photo)
// gets its own sheet per kind, named after it, to judge the art on a real face.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"

namespace {

struct Placement {
    const char* folder;
    int x, y;
    QRect sheetCrop;  // the part of the look a contact sheet shows, at its full size
};

// Drawing order, lower layers first, as the program redraws the canvas: clothing lies over the
// necklace, so a neckline must leave the necklace visible.
const QRect kWhole(0, 0, 380, 480);
const Placement kPlacements[] = {{"meimao", 100, 160, {90, 150, 200, 80}},
                                 {"zuixing", 140, 265, {130, 250, 120, 80}},
                                 {"xianglian", 90, 320, {60, 280, 260, 200}},
                                 {"fuzhuang", -10, 300, kWhole},
                                 {"faxing", 0, 0, kWhole},
                                 {"yanjing", 100, 177, {90, 150, 200, 100}},
                                 {"maozi", 0, -10, kWhole},
                                 {"erhuan", 85, 248, {70, 190, 240, 150}}};

QImage loadComponent(const QString& path) {
    ms::ComponentImage c;
    if (!ms::readComponentFile(path, ms::GridSizing::fromHeader(), c)) return {};
    return ms::imageFromGrid(c.grid);
}

// The program shows lips in the chosen lip colour and keeps only their alpha.
QImage recolouredLips(QImage lips) {
    for (int y = 0; y < lips.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(lips.scanLine(y));
        for (int x = 0; x < lips.width(); ++x) row[x] = qRgba(196, 64, 86, qAlpha(row[x]));
    }
    return lips;
}

void place(QPainter& p, const Placement& at, const QImage& img) {
    const QString folder = QString::fromLatin1(at.folder);
    if (folder == QLatin1String("zuixing")) {
        p.drawImage(at.x, at.y, recolouredLips(img));
    } else if (folder == QLatin1String("erhuan")) {
        p.drawImage(QPoint(85, 248), img, QRect(0, 0, 40, img.height()));
        p.drawImage(QPoint(255, 248), img, QRect(40, 0, 39, img.height()));
    } else {
        p.drawImage(at.x, at.y, img);
    }
}

QStringList componentsOf(const QString& root, const char* folder) {
    QDir dir(root + '/' + QString::fromLatin1(folder));
    QStringList names = dir.entryList({QStringLiteral("*.tta")}, QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("000.tta"));
    return names;
}

// Whole looks at half size; close-ups of small components at their own size.
QImage sheet(const QList<QImage>& looks, const QRect& crop, int columns) {
    const bool whole = crop.width() >= 380;
    const int tw = whole ? crop.width() / 2 : crop.width(), th = whole ? crop.height() / 2 : crop.height();
    const int rows = (static_cast<int>(looks.size()) + columns - 1) / columns;
    QImage out(columns * tw, std::max(1, rows) * th, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < looks.size(); ++i)
        p.drawImage(QRect((i % columns) * tw, (i / columns) * th, tw, th), looks[i], crop);
    return out;
}

// Look number `pick`: the pick-th component of every kind (wrapping), hats and glasses optional.
QImage fullLook(const QString& root, const QImage& portrait, int pick, bool headwear) {
    QImage look = portrait.convertToFormat(QImage::Format_RGB32);
    QPainter p(&look);
    for (const Placement& at : kPlacements) {
        const QString f = QString::fromLatin1(at.folder);
        if (!headwear && (f == QLatin1String("maozi") || f == QLatin1String("yanjing"))) continue;
        const QStringList names = componentsOf(root, at.folder);
        if (names.isEmpty()) continue;
        place(p, at, loadComponent(root + '/' + f + '/' + names[pick % names.size()]));
    }
    return look;
}

// Every hat over a hairstyle, as it is worn: a different style for each hat, from several kinds.
QImage hatsOnHair(const QString& root, const QImage& portrait) {
    const QStringList hats = componentsOf(root, "maozi"), hair = componentsOf(root, "faxing");
    QList<QImage> looks;
    for (int i = 0; i < hats.size() && !hair.isEmpty(); ++i) {
        QImage look = portrait.convertToFormat(QImage::Format_RGB32);
        QPainter p(&look);
        p.drawImage(0, 0,
                    loadComponent(root + QStringLiteral("/faxing/") + hair[(i * 11 + 3) % hair.size()]));
        p.drawImage(0, -10, loadComponent(root + QStringLiteral("/maozi/") + hats[i]));
        looks << look;
    }
    return sheet(looks, QRect(20, 0, 340, 400), 6);
}

// One sheet per kind with every component on a base picture, named sheet_KIND_STEM.png.
bool writeBaseSheets(const QString& root, const QString& basePath, const QString& outDir) {
    const QImage base = QImage(basePath).convertToFormat(QImage::Format_RGB32);
    if (base.isNull()) return false;
    const QString stem = QFileInfo(basePath).completeBaseName();
    for (const Placement& at : kPlacements) {
        QList<QImage> looks;
        for (const QString& name : componentsOf(root, at.folder)) {
            QImage look = base.copy();
            QPainter p(&look);
            place(p, at, loadComponent(root + '/' + at.folder + '/' + name));
            looks << look;
        }
        if (!looks.isEmpty())
            sheet(looks, at.sheetCrop, at.sheetCrop.width() >= 380 ? 6 : 4)
                .save(outDir + "/sheet_" + at.folder + '_' + stem + ".png");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        QTextStream(stderr) << "usage: preview-install-data PROGRAM_FOLDER OUT_FOLDER [BASE.png...]\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]), outDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outDir);
    const QImage portrait(root + QStringLiteral("/ziyuan/huaban.bmp"));
    if (portrait.isNull()) return 1;
    portrait.scaled(portrait.size() * 2, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .save(outDir + QStringLiteral("/portrait_2x.png"));
    for (const Placement& at : kPlacements) {
        QList<QImage> looks;
        for (const QString& name : componentsOf(root, at.folder)) {
            QImage look = portrait.convertToFormat(QImage::Format_RGB32);
            QPainter p(&look);
            place(p, at, loadComponent(root + '/' + at.folder + '/' + name));
            p.end();
            look.save(outDir + '/' + at.folder + '_' + QString(name).replace(QStringLiteral(".tta"), "") +
                      ".png");
            looks << look;
        }
        if (!looks.isEmpty())
            sheet(looks, at.sheetCrop, at.sheetCrop.width() >= 380 ? 6 : 4)
                .save(outDir + "/sheet_" + at.folder + ".png");
    }
    hatsOnHair(root, portrait).save(outDir + QStringLiteral("/sheet_hats_on_hair.png"));
    for (int pick = 0; pick < 3; ++pick) {
        fullLook(root, portrait, pick, false).save(outDir + QStringLiteral("/look%1.png").arg(pick));
        fullLook(root, portrait, pick, true).save(outDir + QStringLiteral("/look%1_headwear.png").arg(pick));
    }
    for (int i = 3; i < argc; ++i)
        if (!writeBaseSheets(root, QString::fromLocal8Bit(argv[i]), outDir)) {
            QTextStream(stderr) << "cannot read " << argv[i] << '\n';
            return 1;
        }
    return 0;
}
