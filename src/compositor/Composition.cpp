#include "compositor/Composition.h"

#include <QRandomGenerator>
#include <QStringList>
#include <chrono>

#include "compositor/Preparation.h"
#include "imaging/Magnify.h"
#include "platform/FileLookup.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

constexpr int kRandomHairstyleTries = 200;

// Start of every recomposition. The canvas is shared with the views after the last output step,
// so it is given a fresh buffer here rather than detached by copying pixels about to be covered.
void startStep(StudioState& s) {
    QImage& c = s.doc.surfaces.canvas;
    if (c.isNull() || !c.isDetached())
        c = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
}

bool covers(const QImage& pic) { return pic.width() >= kCanvasWidth && pic.height() >= kCanvasHeight; }

void copyBase(StudioState& s, const QImage& pic) {
    if (!covers(pic)) s.doc.surfaces.canvas.fill(Qt::white);
    copyOpaque(s.doc.surfaces.canvas, pic);
}

}  // namespace

Status initialiseStudio(StudioState& s, const QString& programFolder) {
    s.P = programFolder;
    QImage portrait;
    Status st = loadPicture(s.path(QStringLiteral("ziyuan/huaban.bmp")), PicturePurpose::Canvas, portrait);
    if (!st || portrait.size() != QSize(kCanvasWidth, kCanvasHeight)) {
        QImage grey(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
        grey.fill(QColor(200, 200, 200));
        if (!portrait.isNull()) copyOpaque(grey, portrait);
        portrait = grey;
        if (st) st = Status::damaged(QStringLiteral("示例照片的尺寸不是 380 x 480。"));
    }
    s.doc.design.PicMT = s.doc.design.PicMT0 = portrait;
    s.session.views.Pichuaban = s.session.views.Pichuaban1 = portrait;
    s.doc.surfaces.canvas = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    copyOpaque(s.doc.surfaces.canvas, portrait);
    for (Surface& k : s.doc.surfaces.kinds) k.clear();
    return st;
}

void outputStep(StudioState& s) {
    // The views share the canvas buffer; the next composition starts on a fresh one.
    Views& v = s.session.views;
    v.Pichuaban = s.doc.surfaces.canvas;
    v.Pichuaban1 = s.doc.surfaces.canvas;
    if (v.PicfangdaVisible) magnifyView(v);
}

void magnifyView(Views& v) {
    if (!v.Pichuaban.isNull()) magnifyCanvas(v.Pichuaban, v.Picfangda);
}

QImage cutoutOrBlack(const QImage& picture) {
    if (!picture.isNull()) return picture;
    QImage black(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

void huaban_hecheng1(StudioState& s) {
    startStep(s);
    // The working photo is opaque: when it covers the canvas the background under it cannot show.
    if (!covers(s.doc.design.PicMT)) copyBase(s, s.doc.design.Picbeijing);
    copyBase(s, s.doc.design.PicMT);
    for (Layer layer :
         {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips, Layer::Necklace, Layer::Clothing,
          Layer::Hairstyle, Layer::Glasses, Layer::Hat, Layer::EarringLeft, Layer::EarringRight})
        blendPrepared(s, layer);
    outputStep(s);
}

Status huaban_hecheng2(StudioState& s) {
    startStep(s);
    copyBase(s, s.doc.design.PicMT);
    Problems problems;
    // A warped layer (its modified flag set) keeps its surface; the others are read again.
    for (Kind k : {Kind::meimao, Kind::zuixing, Kind::yanjing, Kind::xianglian, Kind::fuzhuang, Kind::faxing,
                   Kind::erhuan, Kind::maozi}) {
        if (s.doc.flags.modified(k))
            for (Layer layer : kindInfo(k).layers()) blendPrepared(s, layer);
        else
            problems.add(prepareKind(s, k));
    }
    outputStep(s);
    return problems.status();
}

Status huaban_hecheng3(StudioState& s) {
    startStep(s);
    copyBase(s, s.doc.design.Picbeijing);
    Problems problems;
    // The necklace and clothing lie behind the cut-out photo.
    for (Kind k : {Kind::xianglian, Kind::fuzhuang, Kind::xiushi, Kind::meimao, Kind::zuixing, Kind::yanjing,
                   Kind::faxing, Kind::erhuan, Kind::maozi})
        problems.add(prepareKind(s, k));
    outputStep(s);
    return problems.status();
}

Status huaban_hecheng(StudioState& s) {
    startStep(s);
    copyBase(s, s.doc.design.Picbeijing);
    Problems problems;
    problems.add(xiushi_hecheng(s));
    blendPrepared(s, Layer::EyebrowLeft);
    blendPrepared(s, Layer::EyebrowRight);
    problems.add(xianglian_hecheng(s));
    blendPrepared(s, Layer::Lips);
    problems.add(yanjing_hecheng(s));
    {
        // The clothing's height value is not applied here.
        LayerGeometry g = s.doc.design.geometry;
        g.fuzhuangheight = 0;
        const Placement p = redrawPlacement(Layer::Clothing, g, s.doc.design.hairHeight);
        blendOver(s.doc.surfaces.canvas, p.dst, s.doc.surfaces.of(Kind::fuzhuang), p.src);
    }
    problems.add(faxing_name(s));
    problems.add(faxing_hecheng(s));
    problems.add(erhuan_hecheng(s));
    problems.add(maozi_hecheng(s));
    outputStep(s);
    return problems.status();
}

Status faxing_name(StudioState& s) {
    QRandomGenerator rng(static_cast<quint32>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return faxing_name(s, [&rng] { return rng.generateDouble(); });
}

Status faxing_name(StudioState& s, const std::function<double()>& uniform01) {
    const QString folder = s.path(QStringLiteral("faxing/"));
    const int n = countFiles(folder);
    if (n == 0) return Status::notFound(QStringLiteral("发型库中没有发型文件。"));
    for (int attempt = 0; attempt < kRandomHairstyleTries; ++attempt) {
        const int k = static_cast<int>(std::floor(n * uniform01() + 1));
        const QString pattern = QStringLiteral("*%1*%2*%3*")
                                    .arg(s.session.library.hairFirstCode, s.session.library.hairSecondCode)
                                    .arg(k);
        const QStringList found = listMatching(folder, pattern);
        if (!found.isEmpty()) {
            s.doc.design.faxingname = folder + found.front();
            return Status::success();
        }
    }
    return Status::notFound(QStringLiteral("没有找到可随机选用的发型，保留当前发型。"));
}

QString defaultComponent(const StudioState& s, Kind kind, const QString& prefix) {
    const QString folder = s.path(kindInfo(kind).folder() + QLatin1Char('/'));
    const auto name = firstMatching(folder + prefix + QLatin1Char('*'));
    return name ? folder + *name : QString();
}

Status CHUSHI_MOBAN(StudioState& s) {
    DesignState& d = s.doc.design;
    const QString zero = QStringLiteral("000");
    Problems problems;
    // Only the hairstyle is prepared here; the other kinds keep their surfaces until the next
    // reload.
    for (Kind k : componentKinds()) {
        d.*kindInfo(k).file = defaultComponent(s, k, zero);
        resetGeometry(d.geometry, k);
        if (k == Kind::faxing) problems.add(prepareKind(s, k));
    }
    d.Picbeijing = s.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32);
    d.PicRGB = QImage();
    d.PicA = QImage();
    huaban_hecheng1(s);
    return problems.status();
}

}  // namespace ms
