// The window art of the studio: a calm salon look, warm neutral ground, white cards, one dusty
// rose accent, line icons. Every picture depends only on this source and the installed font.
#include "ShellArt.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QtDebug>

#include "ShellIcons.h"
#include "platform/SafeFile.h"
#include "shell/ZjmLayout.h"

namespace {

using namespace ms;
using shellart::drawIcon;
using shellart::Icon;

const QColor kInk(61, 53, 48);
const QColor kMuted(140, 127, 119);
const QColor kAccent(168, 115, 125);
const QColor kAccentLight(241, 228, 228);
const QColor kLine(226, 216, 208);

QFont font(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QImage transparent(QSize size) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void begin(QPainter& p, QImage& img) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

void save(const QImage& img, const QString& path, const char* format) {
    const ms::Status st =
        ms::replaceFile(path, [&](QIODevice& d) { return QImageWriter(&d, format).write(img); });
    if (!st) qWarning().noquote() << st.message;
}

// ---- Main-window background ----

// A soft drop shadow and a white card with a hairline edge.
void drawCard(QPainter& p, const QRectF& r, double radius = 14) {
    p.setPen(Qt::NoPen);
    for (int k = 8; k >= 1; --k) {
        p.setBrush(QColor(90, 60, 40, 4 + (8 - k)));
        p.drawRoundedRect(r.adjusted(-k, -k + 3, k, k + 3), radius + k, radius + k);
    }
    p.setBrush(QColor(255, 255, 255, 240));
    p.setPen(QPen(kLine, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void drawGround(QPainter& p) {
    QLinearGradient g(0, 0, 0, zjm::kWindowSize.height());
    g.setColorAt(0, QColor(247, 243, 238));
    g.setColorAt(1, QColor(236, 228, 220));
    p.fillRect(QRect(QPoint(0, 0), zjm::kWindowSize), g);
    // Two large, barely visible circles give the ground some depth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(168, 115, 125, 14));
    p.drawEllipse(QPointF(60, 760), 260, 260);
    p.setBrush(QColor(143, 168, 155, 16));
    p.drawEllipse(QPointF(1000, 20), 200, 200);
}

void drawTitle(QPainter& p) {
    p.setPen(kInk);
    p.setFont(font(26, true));
    p.drawText(QRect(24, 8, 400, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("美发美容设计室"));
    p.setPen(kMuted);
    p.setFont(font(13));
    p.drawText(QRect(26, 42, 500, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("发型 · 眉型 · 唇型 · 饰品 · 妆容  试戴与设计"));
    p.setPen(QPen(kLine, 1));
    p.drawLine(QPointF(16, 68.5), QPointF(1008, 68.5));
}

void drawPanelRules(QPainter& p) {
    p.setPen(QPen(kLine, 1));
    for (int y : {120, 174, 236, 392, 460}) p.drawLine(QPointF(768, y + 0.5), QPointF(1000, y + 0.5));
    // A thin frame round the canvas view and a soft tint behind the tool strip entries.
    p.setPen(QPen(QColor(205, 193, 184), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(zjm::kPichuaban).adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(168, 115, 125, 40));
    p.drawRoundedRect(QRectF(zjm::kStripCard.left() + 40, zjm::toolRect(5).top() + 3.5, 40, 1), 0.5, 0.5);
}

void writeBackground(const QString& P) {
    QImage img(zjm::kWindowSize, QImage::Format_RGB888);
    QPainter p;
    begin(p, img);
    drawGround(p);
    drawTitle(p);
    for (const QRect& r : {zjm::kStripCard, zjm::kCanvasCard, zjm::kSlotCard, zjm::kRightCard})
        drawCard(p, r);
    drawPanelRules(p);
    p.end();
    save(img, P + QLatin1Char('/') + QLatin1String(zjm::kBackground), "BMP");
}

// ---- Tool strip, small buttons, zoom images ----

enum class Look { Rest, Hover, Active };

struct LookColours {
    QColor fill, border, icon, text;
};

LookColours colours(Look look) {
    switch (look) {
        case Look::Rest:
            return {Qt::transparent, Qt::transparent, kMuted, kInk};
        case Look::Hover:
            return {kAccentLight, QColor(214, 178, 184), kAccent, kInk};
        case Look::Active:
            return {kAccent, kAccent, Qt::white, Qt::white};
    }
    return {};
}

void drawTool(QPainter& p, Icon icon, const QString& caption, Look look) {
    const LookColours c = colours(look);
    const QRectF r(QPointF(0, 0), zjm::kToolSize);
    p.setPen(c.border.alpha() ? QPen(c.border, 1) : Qt::NoPen);
    p.setBrush(c.fill);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 12, 12);
    drawIcon(p, icon, QRectF(42, 6, 28, 28), c.icon);
    p.setPen(c.text);
    p.setFont(font(14, look == Look::Active));
    p.drawText(QRectF(2, 37, r.width() - 4, 22), Qt::AlignCenter, caption);
}

void writeTools(const QString& P) {
    const Icon icons[] = {Icon::Hair,  Icon::Dye,  Icon::Brow, Icon::Scissors,
                          Icon::Brush, Icon::Lips, Icon::Gem};
    for (size_t k = 0; k < zjm::kTools.size(); ++k) {
        const zjm::ToolArt& t = zjm::kTools[k];
        const QString stem = P + QLatin1Char('/') + QLatin1String(t.stem);
        const std::pair<Look, const char*> looks[] = {
            {Look::Rest, "_rest.png"}, {Look::Hover, "_hover.png"}, {Look::Active, "_active.png"}};
        for (const auto& [look, suffix] : looks) {
            QImage img = transparent(zjm::kToolSize);
            QPainter p;
            begin(p, img);
            drawTool(p, icons[k], QString::fromUtf16(t.caption), look);
            p.end();
            save(img, stem + QLatin1String(suffix), "PNG");
        }
    }
}

void writeButtons(const QString& P) {
    const Icon icons[] = {Icon::Clock, Icon::Undo, Icon::Redo, Icon::Help, Icon::Hide, Icon::Power};
    for (size_t k = 0; k < zjm::kButtons.size(); ++k) {
        const zjm::ButtonArt& b = zjm::kButtons[k];
        for (Look look : {Look::Rest, Look::Hover}) {
            const LookColours c = colours(look);
            QImage img = transparent(zjm::kButtonSize);
            QPainter p;
            begin(p, img);
            p.setPen(c.border.alpha() ? QPen(c.border, 1) : Qt::NoPen);
            p.setBrush(c.fill);
            p.drawRoundedRect(QRectF(0.5, 0.5, 39, 49), 9, 9);
            drawIcon(p, icons[k], QRectF(8, 5, 24, 24), look == Look::Rest ? kInk : kAccent);
            p.setPen(c.text);
            p.setFont(font(12));
            p.drawText(QRectF(0, 30, 40, 18), Qt::AlignCenter, QString::fromUtf16(b.caption));
            p.end();
            save(img,
                 P + QLatin1Char('/') + QLatin1String(b.stem) +
                     (look == Look::Rest ? "_rest.png" : "_hover.png"),
                 "PNG");
        }
    }
}

void writeZoomImages(const QString& P) {
    const Icon icons[] = {Icon::Zoom, Icon::ZoomIn, Icon::ZoomOut};
    for (size_t k = 0; k < zjm::kZoomImages.size(); ++k) {
        const bool idle = k == 0;
        QImage img = transparent(zjm::kZoomSize);
        QPainter p;
        begin(p, img);
        p.setPen(QPen(idle ? kLine : QColor(214, 178, 184), 1));
        p.setBrush(idle ? QColor(250, 247, 244) : kAccentLight);
        p.drawRoundedRect(QRectF(0.5, 0.5, zjm::kZoomSize.width() - 1, zjm::kZoomSize.height() - 1), 23.5,
                          23.5);
        drawIcon(p, icons[k], QRectF(62, 12, 24, 24), idle ? kMuted : kAccent, 1.9);
        p.setPen(idle ? kMuted : kInk);
        p.setFont(font(16, !idle));
        p.drawText(QRectF(94, 0, 120, zjm::kZoomSize.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf16(zjm::kZoomImages[k].caption));
        p.end();
        save(img, P + QLatin1Char('/') + QLatin1String(zjm::kZoomImages[k].file), "PNG");
    }
}

// ---- Tray icon, exit picture, slot cards ----

void writeTrayIcon(const QString& P) {
    QImage img = transparent(QSize(64, 64));
    QPainter p;
    begin(p, img);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(2, 2, 60, 60));
    drawIcon(p, Icon::Scissors, QRectF(14, 14, 36, 36), Qt::white, 2.2);
    p.end();
    save(img, P + QLatin1Char('/') + QLatin1String(zjm::kTrayIcon), "PNG");
}

void writeExitPicture(const QString& P) {
    QImage img = transparent(zjm::kExitPictureSize);
    QPainter p;
    begin(p, img);
    p.setPen(QPen(QColor(214, 178, 184), 1));
    p.setBrush(kAccentLight);
    p.drawRoundedRect(QRectF(0.5, 0.5, 106, 78), 16, 16);
    drawIcon(p, Icon::Scissors, QRectF(14, 14, 40, 40), kAccent, 1.8);
    drawIcon(p, Icon::Brush, QRectF(54, 14, 40, 40), kAccent, 1.8);
    p.setPen(kAccent);
    p.setFont(font(11));
    p.drawText(QRectF(0, 56, 107, 18), Qt::AlignCenter, QStringLiteral("下次再见"));
    p.end();
    save(img, P + QLatin1Char('/') + QLatin1String(zjm::kExitPicture), "PNG");
}

// An empty slot: a quiet card with the slot number, 380 x 480 like a stored canvas picture.
QImage slotCard(int i) {
    QImage img(380, 480, QImage::Format_RGB888);
    QPainter p;
    begin(p, img);
    QLinearGradient g(0, 0, 0, 480);
    g.setColorAt(0, QColor(250, 247, 243));
    g.setColorAt(1, QColor(240, 233, 226));
    p.fillRect(img.rect(), g);
    QPen dashed(QColor(200, 184, 176), 6, Qt::DashLine, Qt::RoundCap);
    dashed.setDashPattern({3, 3});
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(28, 28, 324, 424), 36, 36);
    p.setPen(QColor(214, 178, 184));
    p.setFont(font(160, true));
    p.drawText(QRectF(0, 50, 380, 230), Qt::AlignCenter, QString::number(i));
    // The slot strip shows the card at about 0.15 of its size: 84 pixels become 12 on screen.
    p.setPen(kMuted);
    p.setFont(font(84, true));
    p.drawText(QRectF(0, 290, 380, 130), Qt::AlignCenter, QStringLiteral("空设计位"));
    p.end();
    return img;
}

void writeSlotCards(const QString& P) {
    for (int i = 1; i <= 8; ++i) {
        const QString path = P + QStringLiteral("/kelm/kelmx%1.bmp").arg(i);
        if (!QFile::exists(path)) save(slotCard(i), path, "BMP");
    }
}

// ---- Help file ----

const char16_t* const kHelpBody =
    uR"html(
<h1>美发美容设计室 使用帮助</h1>
<p>把顾客的照片调入画像区，就可以在她的脸上试戴发型、眉型、唇型和饰品，修饰发色与发型，化妆与修饰皮肤，把满意的设计保存在设计位里，保存成图片或打印出来。</p>
<h2>开始工作</h2>
<p>程序启动后的欢迎窗口提供三种开始方式：<b>进行美容化妆</b>（打开化妆工具）、<b>自动设计发型</b>（程序在画像上自动轮换发型）和<b>打开发型库</b>（从发型库中挑选发型）。</p>
<h2>左侧工具栏</h2>
<table>
<tr><th>工具</th><th>左键</th><th>右键</th></tr>
<tr><td>打开发型库</td><td>按类别浏览发型库，点一个发型即戴到画像上。</td><td>去掉发型，恢复为没有发型。</td></tr>
<tr><td>彩色漂染</td><td>为头发染色、调整色相与亮度，或用挑染刷做局部挑染。</td><td>—</td></tr>
<tr><td>眉型设计</td><td>从眉型库选择眉型，可移动、拉伸、变形并调整颜色浓淡。</td><td>去掉眉型。</td></tr>
<tr><td>美发工具</td><td>用剪刀形状修剪头发，用造形工具推动头发改变发型轮廓。</td><td>—</td></tr>
<tr><td>化妆工具</td><td>化妆刷、画笔、柔和、复制、遮瑕、恢复、橡皮擦和吸管，配合色卡与调色板使用。</td><td>同左键。</td></tr>
<tr><td>唇型设计</td><td>从唇型库选择唇型，可调整位置、大小、唇色和浓淡。</td><td>去掉唇型。</td></tr>
<tr><td>打开饰品库</td><td>帽子、眼镜、耳环、项链和服装，选择后可移动和拉伸。</td><td>去掉帽子。</td></tr>
</table>
<h2>化妆与修饰工具</h2>
<ul>
<li><b>柔和</b>：按住左键拖过的部位变得柔和，重复操作可加深；按住右键拖动恢复原样。</li>
<li><b>复制</b>：按住 Alt 键点选要复制的部位，再在目标部位按住左键移动，即把选中的部位复制过来。</li>
<li><b>遮瑕</b>：用周围的肤色遮盖斑点与瑕疵。</li>
<li><b>化妆刷与画笔</b>：用当前颜色在画像上化妆或描画；刷子大小可调。</li>
<li><b>橡皮擦与恢复</b>：擦去化妆，恢复照片原来的样子。</li>
<li><b>吸管</b>：从画像上取一个颜色作为当前颜色。</li>
</ul>
<h2>右侧面板</h2>
<ul>
<li><b>间隔</b>：选择自动设计时换发型的间隔，0.5 秒到 5 秒。</li>
<li><b>撤销 / 恢复</b>：退回上一步或重做下一步的设计；旁边的数字是已记录的步骤。</li>
<li><b>帮助</b>：打开本页。<b>隐藏</b>：把窗口收到任务栏的托盘里，点托盘图标即可回来。<b>退出</b>：结束本次设计。</li>
<li><b>自动设计 / 停止设计</b>：开始或停止自动轮换发型。</li>
<li><b>放大画像 / 缩小画像</b>：把画像放大到 1.6 倍以便精细修饰，或恢复原来大小。</li>
<li><b>调出新照片</b>：从文件调入顾客照片，并调整位置、大小与颜色。<b>摄像头输入</b>：用摄像头拍摄照片。</li>
<li><b>保存设计图</b>：把画像保存成位图文件。<b>打印设计图</b>：把几个设计排在一页上并配上说明文字打印。</li>
<li><b>变形区域大小</b>：变形与修饰工具作用范围的大小。</li>
<li><b>适合脸型、适合发质、适合发量</b>：当前发型适合的顾客类型，在发型库中查看与修改。</li>
</ul>
<h2>设计位</h2>
<p>画像下方的八个设计位可以保存八个设计，下次启动仍然保留。指向一个设计位会显示大图：在大图上按右键把当前设计保存进去，按左键把保存的设计调出来。</p>
<h2>结束设计</h2>
<p>点 <b>退出</b> 并确认后，程序删除工作中产生的临时文件后关闭。画像上的设计不会自动保存，请先把需要的设计保存到设计位或保存成图片。</p>
)html";

void writeHelpFile(const QString& P) {
    QFile f(P + QLatin1Char('/') + QLatin1String(zjm::kHelpFile));
    const QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>美发美容设计室 "
        "使用帮助</title>\n"
        "<style>body{font-family:\"Noto Sans CJK SC\",sans-serif;color:#3d3530;background:#f7f3ee;"
        "max-width:820px;margin:32px auto;padding:0 24px;line-height:1.7}h1{color:#a8737d}"
        "h2{border-bottom:1px solid #e2d8d0;padding-bottom:4px;margin-top:28px}"
        "table{border-collapse:collapse;width:100%}td,th{border:1px solid #e2d8d0;padding:6px 10px;"
        "text-align:left;vertical-align:top}th{background:#f1e4e4}</style></head><body>");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write((page + QString::fromUtf16(kHelpBody) + QStringLiteral("</body></html>\n")).toUtf8()) < 0)
        qWarning().noquote() << "cannot write" << f.fileName();
}

}  // namespace

void writeShellArt(const QString& programFolder) {
    const QString P = QDir(programFolder).absolutePath();
    for (const char* sub : {"ziyuan", "kelm"}) QDir(P).mkpath(QLatin1String(sub));
    writeBackground(P);
    writeTools(P);
    writeButtons(P);
    writeZoomImages(P);
    writeTrayIcon(P);
    writeExitPicture(P);
    writeSlotCards(P);
    writeHelpFile(P);
}
