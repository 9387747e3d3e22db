#include "compositor/Composition.h"

#include <QRandomGenerator>
#include <QStringList>
#include <chrono>

#include "compositor/Preparation.h"
#include "platform/FileLookup.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

constexpr int kRandomHairstyleTries = 200;

// Collects the problems of a recomposition that goes on after a failing layer.
struct Problems {
    QStringList messages;
    void add(const Status& st) {
        if (!st) messages << st.message;
    }
    Status status() const {
        return messages.isEmpty() ? Status::success() : Status::failure(messages.join('\n'));
    }
};

// Start of every recomposition. The canvas is shared with the views after the last output step,
// so it is given a fresh buffer here rather than detached by copying pixels about to be covered.
void startStep(StudioState& s) {
    QImage& c = s.surfaces.canvas;
    if (c.isNull() || !c.isDetached())
        c = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
}

bool covers(const QImage& pic) { return pic.width() >= kCanvasWidth && pic.height() >= kCanvasHeight; }

void copyBase(StudioState& s, const QImage& pic) {
    if (!covers(pic)) s.surfaces.canvas.fill(Qt::white);
    copyOpaque(s.surfaces.canvas, pic);
}

}  // namespace

Status initialiseStudio(StudioState& s, const QString& programFolder) {
    s.P = programFolder;
    Status st = loadPicture(s.path(QStringLiteral("ziyuan/huaban.bmp")), s.builtinPortrait);
    if (!st || s.builtinPortrait.size() != QSize(kCanvasWidth, kCanvasHeight)) {
        QImage grey(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
        grey.fill(QColor(200, 200, 200));
        if (!s.builtinPortrait.isNull()) copyOpaque(grey, s.builtinPortrait);
        s.builtinPortrait = grey;
        if (st) st = Status::failure(QStringLiteral("示例照片的尺寸不是 380 x 480。"));
    }
    s.design.PicMT = s.design.PicMT0 = s.builtinPortrait;
    s.views.Pichuaban = s.views.Pichuaban1 = s.builtinPortrait;
    s.surfaces.canvas = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    copyOpaque(s.surfaces.canvas, s.builtinPortrait);
    for (Surface& k : s.surfaces.kinds) k.clear();
    return st;
}

void outputStep(StudioState& s) {
    // The views share the canvas buffer; the next composition starts on a fresh one.
    s.views.Pichuaban = s.surfaces.canvas;
    s.views.Pichuaban1 = s.surfaces.canvas;
    if (s.views.PicfangdaVisible)
        s.views.Picfangda = s.views.Pichuaban.scaled(kMagnifiedWidth, kMagnifiedHeight, Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation);
}

void huaban_hecheng1(StudioState& s) {
    startStep(s);
    // The working photo is opaque: when it covers the canvas the background under it cannot show.
    if (!covers(s.design.PicMT)) copyBase(s, s.design.Picbeijing);
    copyBase(s, s.design.PicMT);
    for (Layer layer :
         {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips, Layer::Necklace, Layer::Clothing,
          Layer::Hairstyle, Layer::Glasses, Layer::Hat, Layer::EarringLeft, Layer::EarringRight})
        blendPrepared(s, layer);
    outputStep(s);
}

Status huaban_hecheng2(StudioState& s) {
    startStep(s);
    copyBase(s, s.design.PicMT);
    Problems problems;
    const auto& f = s.flags.Check1;
    if (f[LayerFlags::kEyebrows]) {
        blendPrepared(s, Layer::EyebrowLeft);
        blendPrepared(s, Layer::EyebrowRight);
    } else {
        problems.add(meimao_hecheng(s));
    }
    if (f[LayerFlags::kLips])
        blendPrepared(s, Layer::Lips);
    else
        problems.add(zuixing_hecheng(s));
    problems.add(yanjing_hecheng(s));
    problems.add(xianglian_hecheng(s));
    if (f[LayerFlags::kClothing])
        blendPrepared(s, Layer::Clothing);
    else
        problems.add(fuzhuang_hecheng(s));
    if (f[LayerFlags::kHairstyle])
        blendPrepared(s, Layer::Hairstyle);
    else
        problems.add(faxing_hecheng(s));
    problems.add(erhuan_hecheng(s));
    problems.add(maozi_hecheng(s));
    outputStep(s);
    return problems.status();
}

Status huaban_hecheng3(StudioState& s) {
    startStep(s);
    copyBase(s, s.design.Picbeijing);
    Problems problems;
    for (auto prepare : {xianglian_hecheng, fuzhuang_hecheng, xiushi_hecheng, meimao_hecheng, zuixing_hecheng,
                         yanjing_hecheng, faxing_hecheng, erhuan_hecheng, maozi_hecheng})
        problems.add(prepare(s));
    outputStep(s);
    return problems.status();
}

Status huaban_hecheng(StudioState& s) {
    startStep(s);
    copyBase(s, s.design.Picbeijing);
    Problems problems;
    problems.add(xiushi_hecheng(s));
    blendPrepared(s, Layer::EyebrowLeft);
    blendPrepared(s, Layer::EyebrowRight);
    problems.add(xianglian_hecheng(s));
    blendPrepared(s, Layer::Lips);
    problems.add(yanjing_hecheng(s));
    {
        // The clothing's height value is not applied here.
        LayerGeometry g = s.design.geometry;
        g.fuzhuangheight = 0;
        const Placement p = redrawPlacement(Layer::Clothing, g, s.design.hairHeight);
        blendOver(s.surfaces.canvas, p.dst, s.surfaces.of(Kind::fuzhuang), p.src);
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
    if (n == 0) return Status::failure(QStringLiteral("发型库中没有发型文件。"));
    for (int attempt = 0; attempt < kRandomHairstyleTries; ++attempt) {
        const int k = static_cast<int>(std::floor(n * uniform01() + 1));
        const QString pattern =
            QStringLiteral("*%1*%2*%3*").arg(s.library.hairFirstCode, s.library.hairSecondCode).arg(k);
        const QStringList found = listMatching(folder, pattern);
        if (!found.isEmpty()) {
            s.design.faxingname = folder + found.front();
            return Status::success();
        }
    }
    return Status::failure(QStringLiteral("没有找到可随机选用的发型，保留当前发型。"));
}

QString defaultComponent(const StudioState& s, const QString& kind, const QString& prefix) {
    const QString folder = s.path(kind + QLatin1Char('/'));
    const auto name = firstMatching(folder + prefix + QLatin1Char('*'));
    return name ? folder + *name : QString();
}

Status CHUSHI_MOBAN(StudioState& s) {
    s.designName = QStringLiteral("kelm");
    DesignState& d = s.design;
    LayerGeometry& g = d.geometry;
    const QString zero = QStringLiteral("000");
    d.faxingname = defaultComponent(s, QStringLiteral("faxing"), zero);
    g.faxingWidth = g.faxingheight = g.faxingleft = g.faxingtop = 0;
    Problems problems;
    problems.add(faxing_hecheng(s));
    d.meimaoxingname = defaultComponent(s, QStringLiteral("meimao"), zero);
    g.mmWidthz = g.mmheightz = g.mmleftz = g.mmtopz = g.mmWidthy = g.mmheighty = g.mmlefty = g.mmtopy = 0;
    d.zuixingname = defaultComponent(s, QStringLiteral("zuixing"), zero);
    g.zuixingWidth = g.zuixingheight = g.zuixingleft = g.zuixingtop = 0;
    d.yanjingname = defaultComponent(s, QStringLiteral("yanjing"), zero);
    g.yanjingWidth = g.yanjingheight = g.yanjingleft = g.yanjingtop = 0;
    d.maoziname = defaultComponent(s, QStringLiteral("maozi"), zero);
    g.maoziWidth = g.maoziheight = g.maozileft = g.maozitop = 0;
    d.erhuanname = defaultComponent(s, QStringLiteral("erhuan"), zero);
    g.erhuanWidth = g.erhuanleft = g.erhuantop = 0;
    d.xianglianname = defaultComponent(s, QStringLiteral("xianglian"), zero);
    g.xianglianWidth = g.xiangliantop = 0;
    d.fuzhuangname = defaultComponent(s, QStringLiteral("fuzhuang"), zero);
    g.fuzhuangWidth = g.fuzhuangheight = g.fuzhuangtop = 0;
    d.Picbeijing = s.views.Pichuaban.convertToFormat(QImage::Format_RGB32);
    d.PicRGB = QImage();
    d.PicA = QImage();
    huaban_hecheng1(s);
    return problems.status();
}

}  // namespace ms
