#include "shell/Workspace.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "persistence/DesignSlots.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

constexpr int32_t kStartLipColour = 255 + 256 * 0 + 65536 * 80;  // RGB(255, 0, 80)

struct ToolInfo {
    const char16_t* LabSM;
    bool opensPanel;  // has an active-tool flag
};

// Indexed by hot area; entry 5 is the hot area without a tool.
constexpr std::array<ToolInfo, kHotAreaCount> kTools{{
    {u"发型样式选择", true},   // ImgFx
    {u"发型彩色漂染", false},  // Imgfx2
    {u"眉型设计调整", true},   // Imgmm
    {u"发型修剪调整", true},   // Imgfx1
    {u"化妆工具选择", true},   // Imgbz
    {nullptr, false},
    {u"唇型设计调整", true},  // Imgzx
    {u"饰品设计调整", true},  // Imgmz
}};

// What a right-button reset changes: the library folder, the current file and its preparation.
struct ResetTarget {
    const char* folder;
    const char16_t* what;
    QString DesignState::*name;
    Status (*prepare)(StudioState&);
};

std::optional<ResetTarget> resetTarget(ToolEntry e) {
    switch (e) {
        case ToolEntry::ImgFx:
            return ResetTarget{"faxing", u"发型", &DesignState::faxingname, faxing_hecheng};
        case ToolEntry::Imgmm:
            return ResetTarget{"meimao", u"眉型", &DesignState::meimaoxingname, meimao_hecheng};
        case ToolEntry::Imgzx:
            return ResetTarget{"zuixing", u"唇型", &DesignState::zuixingname, zuixing_hecheng};
        case ToolEntry::Imgmz:
            return ResetTarget{"maozi", u"帽子", &DesignState::maoziname, maozi_hecheng};
        default:
            return std::nullopt;
    }
}

int index(ToolEntry e) { return static_cast<int>(e); }

}  // namespace

Status Workspace::loadSlotPictures() {
    QStringList missing;
    for (int i = 1; i <= kSlotCount; ++i) {
        s_.designName = QStringLiteral("kelm%1").arg(i);
        const QString rel = QStringLiteral("kelm/kelmx%1.bmp").arg(i);
        QImage& picture = shell_.slotPictures[i - 1];
        picture = QImage();
        if (!loadPicture(s_.path(rel), picture)) missing << rel;
    }
    if (missing.isEmpty()) return Status::success();
    return Status::failure(QStringLiteral("找不到设计位图片：%1。这些设计位暂时显示为空。")
                               .arg(missing.join(QStringLiteral("、"))));
}

Status Workspace::startUp() {
    const Status pictures = loadSlotPictures();
    const Status defaults = CHUSHI_MOBAN(s_);
    // The canvas surface is refreshed from the canvas view.
    s_.surfaces.canvas = s_.views.Pichuaban;
    if (pictures && defaults) return Status::success();
    QStringList messages;
    for (const Status& st : {pictures, defaults})
        if (!st) messages << st.message;
    return Status::failure(messages.join(QLatin1Char('\n')));
}

void Workspace::beginMakeup() {
    shell_.LabSM = QStringLiteral("化妆工具选择");
    shell_.canvasEnabled = true;
}

void Workspace::beginAutoDesign() {
    shell_.Label2 = QStringLiteral("停止设计");
    shell_.timersEnabled = true;
    shell_.autoDesignRunning = true;
}

void Workspace::beginHairLibrary() { s_.library.currentKind = 1; }

void Workspace::pointAtHotArea(int i) {
    if (i < 0 || i >= kHotAreaCount || i == kNoTool) return;
    for (int k = 0; k < kHotAreaCount; ++k) shell_.toolImageShown[k] = k == i || shell_.activeTool[k];
}

void Workspace::pointAtBackground() {
    for (int k = 0; k < kHotAreaCount; ++k)
        shell_.toolImageShown[k] = shell_.toolImageShown[k] && shell_.activeTool[k];
    shell_.slotPreviewShown.fill(false);
    shell_.brushOutlinesShown = false;
    shell_.zoomImage = ZoomImage::Image3;
    shell_.Label2Red = false;
}

void Workspace::highlightOnly(int hotArea) {
    for (int k = 0; k < kHotAreaCount; ++k) shell_.toolImageShown[k] = k == hotArea;
    shell_.LabSM = QString::fromUtf16(kTools[hotArea].LabSM);
}

void Workspace::makeActive(int hotArea) {
    for (int k = 0; k < kHotAreaCount; ++k) shell_.activeTool[k] = k == hotArea && kTools[hotArea].opensPanel;
}

void Workspace::clickTool(ToolEntry e) {
    const int i = index(e);
    highlightOnly(i);
    makeActive(i);
    switch (e) {
        case ToolEntry::ImgFx:
            shell_.canvasEnabled = false;
            s_.library.currentKind = 1;
            break;
        case ToolEntry::Imgmm:
            s_.design.woman = true;
            s_.library.currentKind = 3;
            break;
        case ToolEntry::Imgbz:
            shell_.canvasEnabled = true;
            break;
        case ToolEntry::Imgzx:
            s_.design.lipColour = kStartLipColour;
            s_.library.currentKind = 6;
            break;
        case ToolEntry::Imgmz:
            s_.library.currentKind = 8;
            s_.library.accessorySubKind = 8;
            break;
        default:
            break;
    }
}

Status Workspace::rightClickTool(ToolEntry e) {
    if (e == ToolEntry::Imgbz) {
        clickTool(e);
        return Status::success();
    }
    if (!resetTarget(e)) return Status::success();
    highlightOnly(index(e));
    return resetToDefault(e);
}

Status Workspace::resetToDefault(ToolEntry e) {
    const ResetTarget t = *resetTarget(e);
    const QString folder = QString::fromLatin1(t.folder);
    const QString file = defaultComponent(s_, folder, QStringLiteral("000."));
    const QString what = QString::fromUtf16(t.what);
    if (file.isEmpty())
        return Status::failure(
            QStringLiteral("%1库中找不到默认文件（%2/000.*），%1保持不变。").arg(what, s_.path(folder)));
    QString& current = s_.design.*t.name;
    const QString before = current;
    current = file;
    if (Status st = t.prepare(s_); !st) {
        current = before;
        return Status::failure(QStringLiteral("%1的默认文件无法使用，%1保持不变：%2").arg(what, st.message));
    }
    huaban_hecheng1(s_);
    return huifu_baochun(s_);
}

void Workspace::pointAtLabel2() { shell_.Label2Red = true; }

void Workspace::pressLabel2() { shell_.Label2Red = false; }

void Workspace::toggleAutoDesign() {
    const bool start = !shell_.autoDesignRunning;
    shell_.timersEnabled = start;
    shell_.autoDesignRunning = start;
    shell_.Label2 = start ? QStringLiteral("停止设计") : QStringLiteral("自动设计");
}

Status Workspace::autoDesignTick() {
    s_.library.hairFirstCode.clear();
    s_.library.hairSecondCode.clear();
    const Status composed = huaban_hecheng(s_);
    const Status recorded = huifu_baochun(s_);
    return composed ? recorded : composed;
}

void Workspace::blinkTick() { shell_.Label2Red = !shell_.Label2Red; }

void Workspace::chooseInterval(int k) {
    if (k < 0 || k >= static_cast<int>(kAutoDesignIntervals.size())) return;
    shell_.checkedInterval = k;
    shell_.timer1Interval = kAutoDesignIntervals[k];
}

void Workspace::stopTimersForExit() { shell_.timersEnabled = false; }

void Workspace::pointAtZoom() {
    shell_.zoomImage = s_.views.PicfangdaVisible ? ZoomImage::Imgxiao : ZoomImage::Imgda;
}

void Workspace::zoomIn() {
    Views& v = s_.views;
    v.PicfangdaVisible = true;
    if (!v.Pichuaban.isNull())
        v.Picfangda =
            v.Pichuaban.copy(0, 0, kCanvasWidth, kCanvasHeight)
                .scaled(kMagnifiedWidth, kMagnifiedHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shell_.zoomImage = ZoomImage::Image3;
}

void Workspace::pressZoomOut() { shell_.zoomImage = ZoomImage::Image3; }

void Workspace::zoomOut() { s_.views.PicfangdaVisible = false; }

void Workspace::setSlider1(int value) { shell_.Slider1 = std::clamp(value, 1, 20); }

void Workspace::pointAtSlot(int i) {
    if (i < 1 || i > kSlotCount) return;
    shell_.slotPreviewShown[i - 1] = true;
    if (i > 1) shell_.slotPreviewShown[i - 2] = false;
    if (i < kSlotCount) shell_.slotPreviewShown[i] = false;
}

Status Workspace::undo() { return ms::undo(s_); }

Status Workspace::redo() { return ms::redo(s_); }

Status Workspace::shutDown() { return gb(s_); }

}  // namespace ms
