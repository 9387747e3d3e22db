#pragma once
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "base/Status.h"

class QPainter;

namespace ms {

// The print window's five preview pages: the single portrait and four layouts of several designs.
enum class PrintPage { Single = 1, Two = 2, Three = 3, Four = 4, Nine = 5 };
// The single portrait's sizes "小", "中", "大", "特大（满幅）".
enum class PortraitSize { Small, Medium, Large, Full };

// Lengths on the preview are twips (1440 an inch) of the page, origin at its top-left; the page is
// 6915 x 9750 twips and prints 1.72 times larger, on A4.
constexpr int kPageWidthTwips = 6915, kPageHeightTwips = 9750;
constexpr double kPrintScale = 1.72;
// Pictures print 1000 twips left of their scaled place; captions start at the left text position.
constexpr int kPictureShiftTwips = 1000;
// The pages' top edge in the window's coordinates, which the caption tops are given in.
constexpr int kPagesTopTwips = 630;

// The frames of a page, in twips of the page, in their index order.
std::vector<QRect> frameRects(PrintPage page, PortraitSize size);

// What the print window shows and prints: the visible page, each page's pictures, the captions'
// places and whether they and their buttons are on.
class PrintSheet {
  public:
    // The window opens on the single portrait at "中" with the current design.
    explicit PrintSheet(const QImage& design);

    void chooseLayout(PrintPage page);   // the four layout buttons
    void chooseSize(PortraitSize size);  // the size options; shows the single portrait
    void setCaptionsShown(bool shown);   // "添加文字" / "去掉文字"

    // A frame of the visible page takes the picture in `path` (bitmap, PNG or JPEG); a file that is
    // not a readable picture is refused with a message and the frame keeps its picture.
    Status fillFrame(int index, const QString& path);

    PrintPage page() const { return page_; }
    PortraitSize size() const { return size_; }
    std::vector<QRect> frames() const { return frameRects(page_, size_); }
    const QImage& picture(PrintPage page, int index) const;
    bool captionsShown() const { return captionsShown_; }
    bool textButtonsEnabled() const { return textButtons_; }
    int caption1Top() const { return caption1Top_; }  // window twips
    int caption2Top() const { return caption2Top_; }

  private:
    std::vector<QImage>& pictures(PrintPage page) { return pictures_[static_cast<size_t>(page) - 1]; }

    PrintPage page_ = PrintPage::Single;
    PortraitSize size_ = PortraitSize::Medium;
    std::array<std::vector<QImage>, 5> pictures_;
    bool captionsShown_ = true;
    bool textButtons_ = true;
    int caption1Top_ = 1425, caption2Top_ = 7005;
};

// The printed page, in twips of the printer page: each picture's rectangle and the caption lines
// with the top of each caption's first line.
struct PrintedPage {
    std::vector<std::pair<QImage, QRect>> pictures;
    bool captions = false;
    int caption1Top = 0, caption2Top = 0;
    QStringList caption1Lines, caption2Lines;
};
PrintedPage printedPage(const PrintSheet& sheet, const QString& caption1, const QString& caption2);

// Paints the page with `dotsPerTwip` device units a twip: pictures stretched into their
// rectangles, caption lines in black at 24 and 16 points from the left text position (x = 0).
void paintPrintedPage(QPainter& p, const PrintedPage& page, double dotsPerTwip);

}  // namespace ms
