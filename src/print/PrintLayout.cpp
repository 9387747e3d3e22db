#include "print/PrintLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include "imaging/Rounding.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

// Frames of the layout pages, twips of the page (left, top, width, height).
const std::vector<QRect> kTwo{{1140, 2520, 2100, 2655}, {3675, 2505, 2100, 2655}};
const std::vector<QRect> kThree{{810, 2430, 1620, 2040}, {2640, 2445, 1620, 2040}, {4440, 2445, 1620, 2040}};
const std::vector<QRect> kFour{
    {915, 5580, 2100, 2655}, {3945, 5550, 2100, 2655}, {3930, 1425, 2100, 2655}, {915, 1440, 2100, 2655}};
const std::vector<QRect> kNine{{675, 3840, 1620, 2040},  {2640, 3855, 1620, 2040}, {4605, 3855, 1620, 2040},
                               {4590, 1050, 1620, 2040}, {2640, 1065, 1620, 2040}, {660, 1050, 1620, 2040},
                               {675, 6540, 1620, 2040},  {2715, 6570, 1620, 2040}, {4680, 6555, 1620, 2040}};

struct SizeRow {
    QRect portrait;
    int caption1Top, caption2Top;
    bool captionsHidden;
};
const std::array<SizeRow, 4> kSizes{{
    {{2500, 2595, 1755, 2216}, 1900, 6690, false},  // 小
    {{2000, 1785, 2865, 3615}, 1400, 7000, false},  // 中
    {{1660, 1575, 3525, 4455}, 1400, 7000, false},  // 大
    {{700, 1000, 5542, 7000}, 0, 0, true},          // 特大（满幅）
}};

int scaled(double twips) { return roundHalfEven(kPrintScale * twips); }

}  // namespace

std::vector<QRect> frameRects(PrintPage page, PortraitSize size) {
    switch (page) {
        case PrintPage::Single:
            return {kSizes[static_cast<size_t>(size)].portrait};
        case PrintPage::Two:
            return kTwo;
        case PrintPage::Three:
            return kThree;
        case PrintPage::Four:
            return kFour;
        case PrintPage::Nine:
            return kNine;
    }
    return {};
}

PrintSheet::PrintSheet(const QImage& design) {
    for (int p = 1; p <= 5; ++p)
        pictures(static_cast<PrintPage>(p)).resize(frameRects(static_cast<PrintPage>(p), size_).size());
    pictures(PrintPage::Single)[0] = design;
}

const QImage& PrintSheet::picture(PrintPage page, int index) const {
    static const QImage none;
    const auto& list = pictures_[static_cast<size_t>(page) - 1];
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<size_t>(index)] : none;
}

void PrintSheet::chooseLayout(PrintPage page) {
    const QImage design = picture(PrintPage::Single, 0);
    page_ = page;
    switch (page) {
        case PrintPage::Two:
        case PrintPage::Three:
            textButtons_ = true;
            caption1Top_ = 1900;
            caption2Top_ = page == PrintPage::Two ? 6690 : 6500;
            pictures(page)[0] = design;
            break;
        case PrintPage::Four:
        case PrintPage::Nine:
            captionsShown_ = false;
            textButtons_ = false;
            for (QImage& p : pictures(page)) p = design;
            break;
        case PrintPage::Single:
            chooseSize(size_);
            break;
    }
}

void PrintSheet::chooseSize(PortraitSize size) {
    const SizeRow& row = kSizes[static_cast<size_t>(size)];
    page_ = PrintPage::Single;
    size_ = size;
    textButtons_ = true;
    if (row.captionsHidden) {
        captionsShown_ = false;
    } else {
        caption1Top_ = row.caption1Top;
        caption2Top_ = row.caption2Top;
    }
}

void PrintSheet::setCaptionsShown(bool shown) {
    if (textButtons_) captionsShown_ = shown;
}

Status PrintSheet::fillFrame(int index, const QString& path) {
    std::vector<QImage>& list = pictures(page_);
    if (index < 0 || index >= static_cast<int>(list.size())) return Status::success();
    QImage loaded;
    if (Status st = loadPicture(path, PicturePurpose::Canvas, loaded); !st)
        return st.prefixed(QStringLiteral("这个文件不能放进画框："));
    list[static_cast<size_t>(index)] = loaded;
    return Status::success();
}

PrintedPage printedPage(const PrintSheet& sheet, const QString& caption1, const QString& caption2) {
    PrintedPage out;
    const std::vector<QRect> frames = sheet.frames();
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        const QRect& f = frames[static_cast<size_t>(i)];
        const QImage& picture = sheet.picture(sheet.page(), i);
        if (picture.isNull()) continue;
        out.pictures.emplace_back(picture, QRect(scaled(f.left()) - kPictureShiftTwips, scaled(f.top()),
                                                 scaled(f.width()), scaled(f.height())));
    }
    const bool withCaptions = sheet.page() != PrintPage::Four && sheet.page() != PrintPage::Nine;
    out.captions = withCaptions && sheet.captionsShown();
    if (out.captions) {
        out.caption1Top = scaled(sheet.caption1Top() - kPagesTopTwips);
        out.caption2Top = scaled(sheet.caption2Top() - kPagesTopTwips);
        out.caption1Lines = caption1.split(QLatin1Char('\n'));
        out.caption2Lines = caption2.split(QLatin1Char('\n'));
    }
    return out;
}

void paintPrintedPage(QPainter& p, const PrintedPage& page, double dotsPerTwip) {
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& [picture, twips] : page.pictures) {
        const QRectF dots(twips.left() * dotsPerTwip, twips.top() * dotsPerTwip, twips.width() * dotsPerTwip,
                          twips.height() * dotsPerTwip);
        p.drawImage(dots, picture);
    }
    if (page.captions) {
        p.setPen(Qt::black);
        const auto lines = [&p, dotsPerTwip](const QStringList& text, int topTwips, int points) {
            QFont font(QStringLiteral("Noto Sans CJK SC"));
            // A point is 20 twips.
            font.setPixelSize(std::max(1, roundHalfEven(points * 20 * dotsPerTwip)));
            p.setFont(font);
            const QFontMetricsF m(font, p.device());
            double y = topTwips * dotsPerTwip + m.ascent();
            for (const QString& line : text) {
                p.drawText(QPointF(0, y), line);
                y += m.lineSpacing();
            }
        };
        lines(page.caption1Lines, page.caption1Top, 24);
        lines(page.caption2Lines, page.caption2Top, 16);
    }
    p.restore();
}

}  // namespace ms
