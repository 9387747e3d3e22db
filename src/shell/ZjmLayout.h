#pragma once
#include <QRect>
#include <QSize>
#include <array>

// Where the main window's controls sit (pixels, origin at the window's top-left) and the names
// of the pictures they show. Shared with the installation generator, which draws the pictures
// and the background panels behind the controls.
namespace ms::zjm {

constexpr QSize kWindowSize{1024, 768};

// Background panels (drawn in the background picture).
constexpr QRect kTitleBand{0, 0, 1024, 68};
constexpr QRect kStripCard{8, 80, 120, 524};
constexpr QRect kCanvasCard{240, 76, 396, 544};
constexpr QRect kSlotCard{144, 646, 580, 100};
constexpr QRect kRightCard{752, 80, 264, 680};

// Work area.
constexpr QRect kLabSM{248, 84, 380, 40};
constexpr QRect kPichuaban{248, 132, 380, 480};
constexpr QRect kBar1{248, 614, 380, 6};       // just below the canvas view
constexpr QRect kPicfangda{134, 0, 608, 768};  // over the work area, clear of strip and panel
constexpr QRect kSlotCaption{152, 618, 300, 22};
constexpr QRect kImage1{134, 84, 102, 150};      // the applied hairstyle's info card, left of the canvas
constexpr QRect kClientFace{134, 242, 102, 46};  // the client's face shape, under the info card

// Tool strip: hot area i and the tool image over it.
constexpr QSize kToolSize{112, 64};
constexpr std::array<int, 8> kToolTop{88, 160, 232, 304, 376, 444, 456, 528};
constexpr int kToolLeft = 12;
constexpr int kNoToolHeight = 8;  // hot area 5 is the gap between the hair and the face tools
inline QRect toolRect(int hotArea) {
    return {kToolLeft, kToolTop[hotArea], kToolSize.width(),
            hotArea == 5 ? kNoToolHeight : kToolSize.height()};
}

// Design slots bckelm(i) and their previews bckelmdt(i), i = 1 .. 8.
inline QRect slotRect(int i) { return {159 + 70 * (i - 1), 657, 60, 75}; }
constexpr std::array<QPoint, 8> kPreviewTopLeft{
    {{148, 629}, {209, 628}, {279, 627}, {348, 627}, {419, 627}, {485, 629}, {555, 629}, {625, 629}}};
inline QRect previewRect(int i) { return {kPreviewTopLeft[i - 1], QSize(103, 130)}; }

// Right panel.
constexpr QSize kButtonSize{40, 50};
inline QRect smallButtonRect(int k) { return {756 + 44 * k, 10, kButtonSize.width(), kButtonSize.height()}; }
constexpr QRect kHistoryCaption{764, 90, 150, 26};
constexpr QRect kLabel1{914, 90, 90, 26};
constexpr QRect kLabel2{764, 124, 240, 44};
constexpr QSize kZoomSize{240, 48};
constexpr QRect kZoom{764, 180, 240, 48};
constexpr std::array<int, 5> kLabel9Top{244, 280, 316, 316, 352};  // 2 is hidden under 3
constexpr QSize kLabel9Size{240, 30};
constexpr QRect kSliderCaption{764, 400, 240, 22};
constexpr QRect kSlider1{764, 424, 240, 26};
constexpr QRect kFragjbz{756, 396, 256, 360};
constexpr std::array<int, 3> kCheckCaptionTop{468, 548, 604};
constexpr int kCheckRowOffset = 24;

// Pictures below P, drawn by the installation generator. A tool's three looks are its stem
// followed by "_rest.png", "_hover.png" and "_active.png"; a small button's by "_rest.png" and
// "_hover.png".
constexpr const char* kBackground = "ziyuan/zjm.bmp";
constexpr const char* kTrayIcon = "ziyuan/tray.png";
constexpr const char* kExitPicture = "ziyuan/guanbi.png";
constexpr QSize kExitPictureSize{107, 79};
constexpr const char* kHelpFile = "dova.html";

struct ToolArt {
    int hotArea;
    const char* name;
    const char16_t* caption;
    const char* stem;
};
constexpr std::array<ToolArt, 7> kTools{{
    {0, "ImgFx", u"打开发型库", "ziyuan/tool_faxing"},
    {1, "Imgfx2", u"彩色漂染", "ziyuan/tool_piaoran"},
    {2, "Imgmm", u"眉型设计", "ziyuan/tool_meimao"},
    {3, "Imgfx1", u"美发工具", "ziyuan/tool_xiujian"},
    {4, "Imgbz", u"化妆工具", "ziyuan/tool_huazhuang"},
    {6, "Imgzx", u"唇型设计", "ziyuan/tool_zuixing"},
    {7, "Imgmz", u"打开饰品库", "ziyuan/tool_shipin"},
}};

struct ButtonArt {
    const char* name;  // the twin's name
    const char16_t* caption;
    const char16_t* toolTip;
    const char* stem;
};
constexpr std::array<ButtonArt, 6> kButtons{{
    {"Imgshijian1", u"间隔", u" 自动设计的换发间隔 ", "ziyuan/btn_shijian"},
    {"Imgchexiao1", u"撤销", u" 撤销 ", "ziyuan/btn_chexiao"},
    {"Imghuifu1", u"恢复", u" 恢复 ", "ziyuan/btn_huifu"},
    {"Imgbangzhu1", u"帮助", u" 帮助 ", "ziyuan/btn_bangzhu"},
    {"Imgmin1", u"隐藏", u" 隐藏到任务栏 ", "ziyuan/btn_min"},
    {"Imgtuichu1", u"退出", u" 退出 ", "ziyuan/btn_tuichu"},
}};

struct ZoomArt {
    const char* name;
    const char16_t* caption;
    const char* file;
};
constexpr std::array<ZoomArt, 3> kZoomImages{{
    {"Image3", u"画像缩放", "ziyuan/zoom_idle.png"},
    {"Imgda", u"放大画像", "ziyuan/zoom_in.png"},
    {"Imgxiao", u"缩小画像", "ziyuan/zoom_out.png"},
}};

}  // namespace ms::zjm
