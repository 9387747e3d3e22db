#include "shell/Workspace.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#include "adjust/LayerWarp.h"
#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "hair/HairColour.h"
#include "hair/HairTrim.h"
#include "persistence/DesignSlots.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

struct ToolInfo {
    const char16_t* LabSM;
    bool opensPanel;             // has an active-tool flag
    LibraryKind library;         // made current by a left click (None: left as it is)
    std::optional<Kind> resets;  // returned to its "000." default by the right button
};

// Indexed by hot area; entry 5 is the hot area without a tool.
const std::array<ToolInfo, kHotAreaCount> kTools{{
    {u"发型样式选择", true, LibraryKind::Hairstyles, Kind::faxing},  // ImgFx
    {u"发型彩色漂染", false, LibraryKind::None, std::nullopt},       // Imgfx2
    {u"眉型设计调整", true, LibraryKind::Eyebrows, Kind::meimao},    // Imgmm
    {u"发型修剪调整", true, LibraryKind::None, std::nullopt},        // Imgfx1
    {u"化妆工具选择", true, LibraryKind::None, std::nullopt},        // Imgbz
    {nullptr, false, LibraryKind::None, std::nullopt},
    {u"唇型设计调整", true, LibraryKind::Lips, Kind::zuixing},       // Imgzx
    {u"饰品设计调整", true, LibraryKind::Accessories, Kind::maozi},  // Imgmz
}};

int index(ToolEntry e) { return static_cast<int>(e); }

}  // namespace

Workspace::Workspace(StudioState& s) : s_(s) {
    setSlider1(s.session.tools.warpAreaSize);
    LayerTools& hair = tools_.layerTools();
    hair.cutHair = [this](StudioState& st, QPointF at, const AlphaMask& shape) {
        return told_.pass(cutHair(st, at, shape));
    };
    hair.commitHighlights = [this](StudioState& st) { return told_.pass(commitHairPicture(st)); };
    hair.stampPattern = [this](StudioState& st, QPointF at) {
        return told_.pass(stampHighlightPattern(st, at));
    };
}

Status Workspace::openHairColour() { return ms::openHairColour(s_); }

Status Workspace::loadSlotPictures() {
    QStringList missing;
    for (int i = 1; i <= kSlotCount; ++i) {
        const QString rel = QStringLiteral("kelm/kelmx%1.bmp").arg(i);
        QImage& picture = shell_.slotPictures[i - 1];
        picture = QImage();
        if (!loadPicture(s_.path(rel), PicturePurpose::SlotPreview, picture)) missing << rel;
    }
    if (missing.isEmpty()) return Status::success();
    return Status::notFound(QStringLiteral("设计位图片缺失或已损坏：%1。这些设计位暂时显示为空。")
                                .arg(missing.join(QStringLiteral("、"))));
}

Status Workspace::startUp() {
    Problems problems;
    // A slot store cut short (the power went, the program was killed) is finished or undone first.
    problems.add(recoverSlotStores(s_.P));
    problems.add(loadSlotPictures());
    problems.add(CHUSHI_MOBAN(s_));
    // The canvas surface is refreshed from the canvas view.
    s_.doc.surfaces.canvas = s_.session.views.Pichuaban;
    return problems.status();
}

void Workspace::beginMakeup() {
    shell_.LabSM = QStringLiteral("化妆工具选择");
    shell_.canvasEnabled = true;
    shell_.fragjbzShown = true;
    s_.session.tools.locked = false;
    s_.session.tools.highlightBrush = false;
}

void Workspace::beginAutoDesign() {
    shell_.Label2 = QStringLiteral("停止设计");
    shell_.timersEnabled = true;
    shell_.autoDesignRunning = true;
}

void Workspace::beginHairLibrary() { s_.session.library.currentKind = LibraryKind::Hairstyles; }

void Workspace::pointAtHotArea(int i) {
    if (i < 0 || i >= kHotAreaCount || i == kNoTool) return;
    for (int k = 0; k < kHotAreaCount; ++k) shell_.toolImageShown[k] = k == i || shell_.activeTool[k];
}

void Workspace::pointAtBackground() {
    for (int k = 0; k < kHotAreaCount; ++k)
        shell_.toolImageShown[k] = shell_.toolImageShown[k] && shell_.activeTool[k];
    shell_.slotPreviewShown.fill(false);
    s_.session.tools.Shape5.shown = false;
    s_.session.tools.Shape6.shown = false;
    shell_.zoomImage = ZoomImage::Image3;
    shell_.Label2Red = false;
}

void Workspace::highlightOnly(int hotArea) {
    for (int k = 0; k < kHotAreaCount; ++k) shell_.toolImageShown[k] = k == hotArea;
    shell_.LabSM = QString::fromUtf16(kTools[hotArea].LabSM);
}

void Workspace::makeActive(int hotArea) {
    for (int k = 0; k < kHotAreaCount; ++k) shell_.activeTool[k] = k == hotArea && kTools[hotArea].opensPanel;
    s_.session.tools.hairToolsActive = shell_.activeTool[index(ToolEntry::Imgfx1)];
}

void Workspace::clickTool(ToolEntry e) {
    const int i = index(e);
    highlightOnly(i);
    makeActive(i);
    if (kTools[i].library != LibraryKind::None) s_.session.library.currentKind = kTools[i].library;
    // The lip button starts lip design; the other tool windows end it (the makeup tools leave it).
    if (e != ToolEntry::Imgbz) s_.session.lipDesignMode = e == ToolEntry::Imgzx;
    // A library window takes the canvas's mouse until a canvas tool is chosen.
    if (kTools[i].library != LibraryKind::None) shell_.canvasEnabled = false;
    switch (e) {
        case ToolEntry::Imgmm:
            s_.doc.design.woman = true;
            break;
        case ToolEntry::Imgbz:
            beginMakeup();
            break;
        case ToolEntry::Imgfx1:
            shell_.fragjbzShown = false;
            break;
        case ToolEntry::Imgfx2:
            shell_.fragjbzShown = false;
            shell_.canvasEnabled = false;
            s_.session.tools.locked = true;
            break;
        case ToolEntry::Imgzx:
            s_.doc.design.lipColour = kDefaultLipColour;
            break;
        case ToolEntry::Imgmz:
            s_.session.library.accessorySubKind = AccessorySubKind::Hat;
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
    const std::optional<Kind> kind = kTools[index(e)].resets;
    if (!kind) return Status::success();
    highlightOnly(index(e));
    const Status st = resetToDefault(*kind);
    followHistory();
    return st;
}

Status Workspace::resetToDefault(Kind k) {
    const KindInfo& info = kindInfo(k);
    const QString file = defaultComponent(s_, k, QStringLiteral("000."));
    const QString what = info.displayName();
    if (file.isEmpty())
        return Status::notFound(QStringLiteral("%1库中找不到默认文件（%2/000.*），%1保持不变。")
                                    .arg(what, s_.path(info.folder())));
    QString& current = s_.doc.design.*info.file;
    const QString before = current;
    current = file;
    if (Status st = prepareKind(s_, k); !st) {
        current = before;
        return st.prefixed(QStringLiteral("%1的默认文件无法使用，%1保持不变：").arg(what));
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
    s_.session.library.hairFirstCode.clear();
    s_.session.library.hairSecondCode.clear();
    Problems problems;
    problems.add(huaban_hecheng(s_));
    problems.add(huifu_baochun(s_));
    followHistory();
    return problems.status();
}

void Workspace::blinkTick() { shell_.Label2Red = !shell_.Label2Red; }

void Workspace::chooseInterval(int k) {
    if (k < 0 || k >= static_cast<int>(kAutoDesignIntervals.size())) return;
    shell_.checkedInterval = k;
    shell_.timer1Interval = kAutoDesignIntervals[k];
}

void Workspace::stopTimersForExit() { shell_.timersEnabled = false; }

void Workspace::pointAtZoom() {
    shell_.zoomImage = s_.session.views.PicfangdaVisible ? ZoomImage::Imgxiao : ZoomImage::Imgda;
}

void Workspace::zoomIn() {
    Views& v = s_.session.views;
    v.PicfangdaVisible = true;
    magnifyView(v);
    shell_.zoomImage = ZoomImage::Image3;
}

void Workspace::pressZoomOut() { shell_.zoomImage = ZoomImage::Image3; }

void Workspace::zoomOut() { s_.session.views.PicfangdaVisible = false; }

void Workspace::setSlider1(int value) {
    ToolState& t = s_.session.tools;
    t.warpAreaSize = std::clamp(value, 1, 20);
    t.sizeOutlines(5 * t.warpAreaSize);
}

void Workspace::chooseWarpTool() {
    ms::chooseWarpTool(s_);
    shell_.canvasEnabled = true;
}

LipColourFollow Workspace::lipColourPicked(Status& problem) { return ms::lipColourPicked(s_, problem); }

ToolResult Workspace::canvasMouse(View view, const CanvasEvent& e) { return tools_.handle(s_, view, e); }

void Workspace::beginEyedropper() {
    ms::beginEyedropper(s_);
    shell_.eyedropper = true;
}

void Workspace::endEyedropper(std::optional<int32_t> picked) {
    if (picked) pickMakeupColour(s_, *picked);
    shell_.eyedropper = false;
}

void Workspace::pointAtSlot(int i) {
    if (i < 1 || i > kSlotCount) return;
    shell_.slotPreviewShown[i - 1] = true;
    if (i > 1) shell_.slotPreviewShown[i - 2] = false;
    if (i < kSlotCount) shell_.slotPreviewShown[i] = false;
}

void Workspace::followHistory() {
    const HistoryCounters& h = s_.session.history;
    HistoryControls& c = shell_.history;
    if (h.recorded == c.seenRecords) return;
    c.seenRecords = h.recorded;
    c.label = QString::number(h.position);
    c.undoEnabled = true;
}

Status Workspace::storeSlot(int i) {
    if (i < 1 || i > kSlotCount) return Status::refused(QStringLiteral("没有这个设计位。"));
    const Status st = linshi_bckelm(s_, i);
    if (st) shell_.slotPictures[i - 1] = s_.session.views.Pichuaban.copy();
    return st;
}

Status Workspace::restoreSlot(int i) {
    const Status st = linshi_dckelm(s_, i);
    followHistory();
    return st;
}

Status Workspace::takeInPhoto(const QString& path, QImage& workingCopy) {
    QImage picture;
    if (Status st = loadPicture(path, PicturePurpose::Photo, picture); !st)
        return st.prefixed(QStringLiteral("这张照片无法调入，当前设计保持不变：\n"));
    return takeInPicture(picture, workingCopy);
}

Status Workspace::takeInPicture(const QImage& frame, QImage& workingCopy) {
    if (frame.isNull()) return Status::notFound(QStringLiteral("没有摄像头画面，当前设计保持不变。"));
    const Status st = CHUSHI_MOBAN(s_);
    workingCopy = frame;
    return st;
}

Status Workspace::saveDesignPicture(const QString& path) {
    return savePicture(path, s_.session.views.Pichuaban);
}

Status Workspace::undo() {
    const HistoryStep step = ms::undo(s_);
    HistoryControls& c = shell_.history;
    const int position = s_.session.history.position;
    switch (step.move) {
        case HistoryMove::Back:
            c.redoEnabled = true;
            c.undoEnabled = position > 1;
            c.label = QString::number(position);
            break;
        case HistoryMove::ToStart:  // the label keeps its caption
            c.redoEnabled = true;
            c.undoEnabled = false;
            break;
        default:
            break;
    }
    return step.status;
}

Status Workspace::redo() {
    const HistoryStep step = ms::redo(s_);
    HistoryControls& c = shell_.history;
    switch (step.move) {
        case HistoryMove::Forward:
            c.undoEnabled = true;
            c.label = QString::number(s_.session.history.position);
            break;
        case HistoryMove::AtTop:
            c.undoEnabled = true;
            c.redoEnabled = false;
            break;
        default:
            break;
    }
    return step.status;
}

Status Workspace::shutDown() { return gb(s_); }

}  // namespace ms
