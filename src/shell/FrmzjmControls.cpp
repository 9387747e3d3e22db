#include "shell/FrmzjmControls.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <tuple>
#include <vector>

#include "platform/PictureFile.h"
#include "platform/VideoArea.h"
#include "shell/Artwork.h"
#include "shell/CanvasView.h"
#include "shell/GuideLines.h"
#include "shell/HotLabel.h"
#include "shell/OutlineShape.h"
#include "shell/TwinButton.h"
#include "shell/ZjmLayout.h"

namespace ms {

namespace {

template <typename W>
W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QString arrayName(const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); }

QLabel* caption(QWidget* w, const QString& text, const QRect& r, int pixelSize, bool bold = false) {
    auto* l = new QLabel(text, w);
    l->setGeometry(r);
    l->setFont(captionFont(pixelSize, bold));
    return l;
}

const QColor kBlack(0, 0, 0);
const QColor kRed(200, 0, 0);

}  // namespace

FrmzjmControls::FrmzjmControls(QWidget* window, StudioState& s, const QString& P) {
    // Without its picture the window is painted plain.
    if (!loadPicture(P + QLatin1Char('/') + QLatin1String(zjm::kBackground), PicturePurpose::Artwork,
                     background) ||
        background.size() != zjm::kWindowSize)
        background = QImage();
    buildWorkArea(window, s);
    buildToolStrip(window, P);
    buildButtons(window, P);
    buildPanel(window, P);
    buildChecks(window);
    buildSlots(window);
    buildRetouchPanel(window);
    Picfangda->raise();
    Timer1 = named(new QTimer(window), QStringLiteral("Timer1"));
    Timer2 = named(new QTimer(window), QStringLiteral("Timer2"));
    Timer1->setInterval(1000);
    Timer2->setInterval(100);
}

void FrmzjmControls::buildWorkArea(QWidget* w, StudioState& s) {
    Pichuaban = named(new CanvasView(&s.session.views.Pichuaban, zjm::kPichuaban.size(), w),
                      QStringLiteral("Pichuaban"));
    Pichuaban->move(zjm::kPichuaban.topLeft());
    // The canvas view's own mouse moves are not the bare window's.
    Pichuaban->setAttribute(Qt::WA_NoMousePropagation);
    Pichuaban->setAcceptDrops(true);  // a photo dragged from the file manager
    Picfangda = named(new CanvasView(&s.session.views.Picfangda, zjm::kPicfangda.size(), w),
                      QStringLiteral("Picfangda"));
    Picfangda->move(zjm::kPicfangda.topLeft());
    Picfangda->setAttribute(Qt::WA_NoMousePropagation);
    Picfangda->hide();
    Pichuaban1 = named(new CanvasView(&s.session.views.Pichuaban1Kept, zjm::kPichuaban.size(), w),
                       QStringLiteral("Pichuaban1"));
    Pichuaban1->move(zjm::kPichuaban.topLeft());
    Pichuaban1->setAttribute(Qt::WA_NoMousePropagation);
    Pichuaban1->hide();
    // The camera's live picture lies over the canvas while it runs.
    Picshipin = new VideoArea(w);
    Picshipin->setGeometry(QRect(zjm::kPichuaban.topLeft(), zjm::kPichuaban.size()));
    Picshipin->hide();
    Shape5 = named(new OutlineShape(Pichuaban), QStringLiteral("Shape5"));
    Shape6 = named(new OutlineShape(Picfangda), QStringLiteral("Shape6"));
    Shape5->setGeometry(QRect(QPoint(0, 0), zjm::kPichuaban.size()));
    Shape6->setGeometry(QRect(QPoint(0, 0), zjm::kPicfangda.size()));
    Shape5->hide();
    Shape6->hide();
    Shape1 = named(new GuideLines(Pichuaban), QStringLiteral("Shape1"));
    Shape1->setGeometry(QRect(QPoint(0, 0), zjm::kPichuaban.size()));
    Shape1->hide();
    Bar1 = named(new QProgressBar(w), QStringLiteral("Bar1"));
    Bar1->setGeometry(zjm::kBar1);
    Bar1->setRange(0, kCanvasWidth);
    Bar1->setTextVisible(false);
    Bar1->hide();
    LabSM = named(caption(w, QString(), zjm::kLabSM, 20, true), QStringLiteral("LabSM"));
    LabSM->setAlignment(Qt::AlignCenter);
}

void FrmzjmControls::buildToolStrip(QWidget* w, const QString& P) {
    wuguan[kNoTool] = named(new HotLabel(w), arrayName("wuguan", kNoTool));
    wuguan[kNoTool]->setGeometry(zjm::toolRect(kNoTool));
    for (const zjm::ToolArt& t : zjm::kTools) {
        const QString stem = QString::fromLatin1(t.stem), text = QString::fromUtf16(t.caption);
        const int i = t.hotArea;
        auto* area = named(new HotLabel(w), arrayName("wuguan", i));
        area->setGeometry(zjm::toolRect(i));
        area->setPixmap(
            artPicture(P, stem + QStringLiteral("_rest.png"), zjm::kToolSize, text, looks::kRest));
        wuguan[i] = area;
        hoverLook_[i] =
            artPicture(P, stem + QStringLiteral("_hover.png"), zjm::kToolSize, text, looks::kHover);
        activeLook_[i] =
            artPicture(P, stem + QStringLiteral("_active.png"), zjm::kToolSize, text, looks::kActive);
        auto* image = named(new HotLabel(w), QString::fromLatin1(t.name));
        image->setGeometry(zjm::toolRect(i));
        image->setPixmap(hoverLook_[i]);
        image->hide();
        toolImage[i] = image;
    }
}

void FrmzjmControls::buildButtons(QWidget* w, const QString& P) {
    std::array<TwinButton*, zjm::kButtons.size()> made{};
    for (size_t k = 0; k < zjm::kButtons.size(); ++k) {
        const zjm::ButtonArt& b = zjm::kButtons[k];
        const QString stem = QString::fromLatin1(b.stem), text = QString::fromUtf16(b.caption);
        made[k] = named(
            new TwinButton(
                artPicture(P, stem + QStringLiteral("_rest.png"), zjm::kButtonSize, text, looks::kRest),
                artPicture(P, stem + QStringLiteral("_hover.png"), zjm::kButtonSize, text, looks::kHover), w),
            QString::fromLatin1(b.name));
        made[k]->move(zjm::smallButtonRect(int(k)).topLeft());
        made[k]->setToolTip(QString::fromUtf16(b.toolTip));
    }
    std::tie(Imgshijian1, Imgchexiao1, Imghuifu1, Imgbangzhu1, Imgmin1, Imgtuichu1) =
        std::tuple(made[0], made[1], made[2], made[3], made[4], made[5]);
    shijiansheding = named(new QMenu(w), QStringLiteral("shijiansheding"));
    auto* group = new QActionGroup(shijiansheding);
    const char16_t* items[] = {u"0.5秒", u"1秒", u"2秒", u"3秒", u"4秒", u"5秒"};
    for (int k = 0; k < 6; ++k) {
        QAction* a = shijiansheding->addAction(QString::fromUtf16(items[k]));
        a->setObjectName(arrayName("shijian", k));
        a->setCheckable(true);
        a->setData(k);
        group->addAction(a);
    }
}

void FrmzjmControls::buildPanel(QWidget* w, const QString& P) {
    caption(w, QStringLiteral("已记录的步骤："), zjm::kHistoryCaption, 14);
    Label1 = named(caption(w, QString(), zjm::kLabel1, 16, true), QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = named(new HotLabel(w), QStringLiteral("Label2"));
    Label2->setGeometry(zjm::kLabel2);
    Label2->setFont(captionFont(20, true));
    Label2->setAlignment(Qt::AlignCenter);
    HotLabel** zoomImages[] = {&Image3, &Imgda, &Imgxiao};  // the order of zjm::kZoomImages
    for (size_t k = 0; k < zjm::kZoomImages.size(); ++k) {
        const zjm::ZoomArt& z = zjm::kZoomImages[k];
        const QString text = QString::fromUtf16(z.caption);
        auto* image = named(new HotLabel(w), QString::fromLatin1(z.name));
        image->setGeometry(zjm::kZoom);
        image->setPixmap(artPicture(P, QString::fromLatin1(z.file), zjm::kZoomSize, text, looks::kHover));
        image->setToolTip(QLatin1Char(' ') + text + QLatin1Char(' '));
        *zoomImages[k] = image;
    }
    const char16_t* texts[] = {u"调出新照片", u"摄像头输入", u"保存设计图", u"保存设计图", u"打印设计图"};
    for (int k = 0; k < 5; ++k) {
        Label9[k] = named(new HotLabel(QString::fromUtf16(texts[k]), w), arrayName("Label9", k));
        Label9[k]->setGeometry(QRect(QPoint(zjm::kLabel2.left(), zjm::kLabel9Top[k]), zjm::kLabel9Size));
        Label9[k]->setFont(captionFont(16));
        Label9[k]->setIndent(16);
    }
    Label9[2]->hide();
}

void FrmzjmControls::buildRetouchPanel(QWidget* w) {
    Fragjbz = named(new QFrame(w), QStringLiteral("Fragjbz"));
    Fragjbz->setGeometry(zjm::kFragjbz);
    Fragjbz->setFrameStyle(QFrame::Box | QFrame::Plain);
    Fragjbz->setAutoFillBackground(true);  // covers the suitability boxes while it is shown
    const QPoint origin = zjm::kFragjbz.topLeft();
    caption(Fragjbz, QStringLiteral("变形区域大小："), zjm::kSliderCaption.translated(-origin), 14);
    Slider1 = named(new QSlider(Qt::Horizontal, Fragjbz), QStringLiteral("Slider1"));
    Slider1->setGeometry(zjm::kSlider1.translated(-origin));
    Slider1->setRange(1, 20);
    Slider1->setValue(7);
    // Shown as they stand: the spaces after each colon put the explanation on its own lines.
    const char16_t* texts[] = {
        u"变形工具用法：                 "
        u"点击变形工具后，在画像上按住鼠标左键移动鼠标，经过的部位画像随鼠标移动方向移动，按住右键拖动可恢复"
        u"原样。",
        u"复制工具用法：                 "
        u"点击复制工具后，在画像选择被复制的部位，按住键盘上Alt键同时点击鼠标左键，然后松开鼠标，移动到要复制"
        u"的部位，按住鼠标左键移动，开始选中的部位就复制到当前部位，按住右键拖动可恢复原样。",
        u"柔和工具用法：                 "
        u"点击柔和工具后，在画像上按住鼠标左键拖动鼠标，经过的部位画像变的柔和，按住右键拖动可恢复原样，若想"
        u"加深柔和程度，先松开鼠标，再重复操作即可。"};
    int top = zjm::kSlider1.bottom() - origin.y() + 10;
    for (int k = 0; k < 3; ++k) {
        auto* text = named(new QLabel(QString::fromUtf16(texts[k]), Fragjbz), arrayName("Fragjbz_text", k));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setFont(captionFont(12));
        const int width = zjm::kFragjbz.width() - 16;
        const int height = text->heightForWidth(width);
        text->setGeometry(8, top, width, height);
        text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        top += height + 8;
    }
    Fragjbz->hide();
}

void FrmzjmControls::showInfoPicture(const QImage& picture) {
    if (picture.isNull()) return Image1->clear();
    Image1->setPixmap(QPixmap::fromImage(
        picture.scaled(zjm::kImage1.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

// states: Check2(0..4), Check3(0..2), Check4(0..2) in that order.
void FrmzjmControls::showSuitability(bool bound, const std::array<bool, 11>& states) {
    int k = 0;
    for (auto* group : {Check2.data(), Check3.data(), Check4.data()})
        for (int i = 0, n = group == Check2.data() ? 5 : 3; i < n; ++i, ++k) {
            QSignalBlocker quiet(group[i]);
            group[i]->setEnabled(bound);
            group[i]->setChecked(bound && states[k]);
        }
}

void FrmzjmControls::buildChecks(QWidget* w) {
    Image1 = named(new QLabel(w), QStringLiteral("Image1"));
    Image1->setGeometry(zjm::kImage1);
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    ClientFace = named(new QPushButton(w), QStringLiteral("ClientFace"));
    ClientFace->setGeometry(zjm::kClientFace);
    ClientFace->setFont(captionFont(13));
    ClientFace->hide();
    struct Group {
        const char* name;
        const char16_t* title;
        std::vector<const char16_t*> items;
        QCheckBox** boxes;
    };
    const Group groups[] = {
        {"Check2", u"适合脸型", {u"圆脸", u"椭圆", u"方脸", u"长脸", u"尖脸"}, Check2.data()},
        {"Check3", u"适合发质", {u"软", u"中", u"硬"}, Check3.data()},
        {"Check4", u"适合发量", {u"少", u"中", u"多"}, Check4.data()}};
    for (int g = 0; g < 3; ++g) {
        const int top = zjm::kCheckCaptionTop[g];
        caption(w, QString::fromUtf16(groups[g].title), QRect(764, top, 240, 22), 14, true);
        for (int k = 0; k < int(groups[g].items.size()); ++k) {
            auto* box =
                named(new QCheckBox(QString::fromUtf16(groups[g].items[k]), w), arrayName(groups[g].name, k));
            // Three to a row, so two-character captions keep clear of the next box.
            box->setGeometry(764 + (k % 3) * 80, top + zjm::kCheckRowOffset * (1 + k / 3), 80, 24);
            box->setFont(captionFont(14));
            box->setEnabled(false);  // bound to the hairstyle database by the hairstyle library window
            groups[g].boxes[k] = box;
        }
    }
}

void FrmzjmControls::buildSlots(QWidget* w) {
    caption(w, QStringLiteral("设计位：指向一个设计位可看大图"), zjm::kSlotCaption, 12);
    for (int i = 1; i <= kSlotCount; ++i) {
        auto* slot = named(new HotLabel(w), arrayName("bckelm", i));
        slot->setGeometry(zjm::slotRect(i));
        slot->setScaledContents(true);
        slot->setFrameStyle(QFrame::Box | QFrame::Plain);
        slot->setTextColour(QColor(205, 193, 184));  // the frame's colour
        bckelm[i - 1] = slot;
    }
    for (int i = 1; i <= kSlotCount; ++i) {
        auto* preview = named(new HotLabel(w), arrayName("bckelmdt", i));
        preview->setGeometry(zjm::previewRect(i));
        preview->setScaledContents(true);
        preview->setFrameStyle(QFrame::Box | QFrame::Plain);
        preview->setTextColour(QColor(168, 115, 125));
        preview->setToolTip(QStringLiteral(" 左键调出 右键保存  "));
        preview->hide();
        bckelmdt[i - 1] = preview;
    }
}

void FrmzjmControls::showSlotPictures(const ShellState& shell) {
    for (int k = 0; k < kSlotCount; ++k) {
        const QPixmap picture = QPixmap::fromImage(shell.slotPictures[k]);
        for (HotLabel* l : {bckelm[k], bckelmdt[k]}) {
            if (picture.isNull()) {
                l->clear();
                l->setBackground(QColor(250, 248, 246));
            } else {
                l->setPixmap(picture);
            }
        }
    }
}

void FrmzjmControls::showToolStrip(const ShellState& shell) {
    for (const zjm::ToolArt& t : zjm::kTools) {
        HotLabel* image = toolImage[t.hotArea];
        image->setVisible(shell.toolImageShown[t.hotArea]);
        const QPixmap& look = shell.activeTool[t.hotArea] ? activeLook_[t.hotArea] : hoverLook_[t.hotArea];
        if (image->pixmap().cacheKey() != look.cacheKey()) image->setPixmap(look);
    }
}

void FrmzjmControls::showOutlines(const ToolState& t) {
    for (auto [shape, outline] : {std::pair{Shape5, &t.Shape5}, std::pair{Shape6, &t.Shape6}}) {
        if (shape->geometry() != outline->rect) shape->setGeometry(outline->rect);
        shape->setVisible(outline->shown);
    }
}

void FrmzjmControls::show(const StudioState& s, const ShellState& shell) {
    Pichuaban->setEnabled(shell.canvasEnabled);
    Pichuaban->setVisible(!shell.eyedropper);
    Pichuaban1->setVisible(shell.eyedropper);
    Pichuaban1->setEnabled(shell.eyedropper);
    Picfangda->setVisible(s.session.views.PicfangdaVisible);
    Fragjbz->setVisible(shell.fragjbzShown);
    showOutlines(s.session.tools);
    LabSM->setText(shell.LabSM);
    Label2->setText(shell.Label2);
    Label2->setTextColour(shell.Label2Red ? kRed : kBlack);
    Label1->setText(shell.history.label);
    Imgchexiao1->setEnabled(shell.history.undoEnabled);
    Imghuifu1->setEnabled(shell.history.redoEnabled);
    showToolStrip(shell);
    Image3->setVisible(shell.zoomImage == ZoomImage::Image3);
    Imgda->setVisible(shell.zoomImage == ZoomImage::Imgda);
    Imgxiao->setVisible(shell.zoomImage == ZoomImage::Imgxiao);
    for (int k = 0; k < kSlotCount; ++k) bckelmdt[k]->setVisible(shell.slotPreviewShown[k]);
    shijiansheding->actions().at(shell.checkedInterval)->setChecked(true);
}

}  // namespace ms
