#include "print/Frmdy.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cstdio>

#include "print/CaptionFiles.h"

namespace ms {

namespace {

constexpr int kTwipsPerPixel = 15;
int px(int twips) { return twips / kTwipsPerPixel; }
QRect px(const QRect& twips) {
    return {px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height())};
}

const QString kPictureFilter = QStringLiteral("图象文件 (*.bmp *.png *.jpg *.jpeg)");
const QString kCaptionFilter = QStringLiteral("文本文件(*.rtf)");

// A frame on the preview: its picture stretched over it, a thin line around it.
class FrameBox : public QWidget {
  public:
    FrameBox(const PrintSheet& sheet, PrintPage page, int index, QWidget* parent)
        : QWidget(parent), sheet_(sheet), page_(page), index_(index) {
        setCursor(Qt::PointingHandCursor);
    }
    std::function<void()> clicked;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QImage& picture = sheet_.picture(page_, index_);
        if (!picture.isNull()) p.drawImage(rect(), picture);
        p.setPen(QColor(150, 150, 150));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && clicked) clicked();
    }

  private:
    const PrintSheet& sheet_;
    PrintPage page_;
    int index_;
};

QString frameName(PrintPage page, int index) {
    return page == PrintPage::Single ? QStringLiteral("Image1")
                                     : QStringLiteral("Image%1_%2").arg(static_cast<int>(page)).arg(index);
}

}  // namespace

PreviewPage::PreviewPage(const PrintSheet& sheet, PrintPage page, QWidget* parent)
    : QWidget(parent), sheet_(sheet), page_(page) {
    setObjectName(QStringLiteral("Piczhi%1").arg(static_cast<int>(page)));
    setFixedSize(px(kPageWidthTwips), px(kPageHeightTwips));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    const int count = static_cast<int>(frameRects(page, PortraitSize::Medium).size());
    for (int i = 0; i < count; ++i) {
        auto* box = new FrameBox(sheet, page, i, this);
        box->setObjectName(frameName(page, i));
        box->clicked = [this, i] { emit frameClicked(i); };
        boxes_.push_back(box);
    }
    showSheet();
}

void PreviewPage::showSheet() {
    const std::vector<QRect> frames = frameRects(page_, sheet_.size());
    for (size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setGeometry(px(frames[i]));
        boxes_[i]->update();
    }
}

Frmdy::Frmdy(const QImage& design, QWidget* owner) : QDialog(owner), sheet_(design) {
    setObjectName(QStringLiteral("Frmdy"));
    setWindowTitle(QStringLiteral("打印设计图"));
    setModal(true);
    auto* row = new QHBoxLayout(this);
    auto* paper = new QWidget(this);
    paper->setFixedSize(px(kPageWidthTwips) + 24, px(kPagesTopTwips) + px(kPageHeightTwips) + 12);
    for (int p = 1; p <= 5; ++p) {
        pages_[static_cast<size_t>(p) - 1] = new PreviewPage(sheet_, static_cast<PrintPage>(p), paper);
        PreviewPage* page = pages_[static_cast<size_t>(p) - 1];
        page->move(12, px(kPagesTopTwips));
        connect(page, &PreviewPage::frameClicked, this, &Frmdy::onFrame);
    }
    auto* hint =
        new QLabel(QStringLiteral("提示：") + QStringLiteral("    点击白纸上的方框，可输入预先保存好的画像。"
                                                             "多个画框时，可以输入不同的画像。"),
                   paper);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    hint->setGeometry(12, 2, px(kPageWidthTwips), px(kPagesTopTwips) - 4);
    // The caption boxes lie over the page, at their window twips; the width stays on the paper.
    RichTextBox1 = new QTextEdit(paper);
    RichTextBox2 = new QTextEdit(paper);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox2->setObjectName(QStringLiteral("RichTextBox2"));
    for (QTextEdit* box : {RichTextBox1, RichTextBox2}) {
        box->setFrameShape(QFrame::NoFrame);
        box->setStyleSheet(QStringLiteral("background: transparent;"));
    }
    row->addWidget(paper);
    row->addWidget(buildControls());
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    choose_ = [this](const QString& title, const QString& filter, bool save) {
        return save ? QFileDialog::getSaveFileName(this, title, {}, filter)
                    : QFileDialog::getOpenFileName(this, title, {}, filter);
    };
    tell_ = [this](const QString& m) { QMessageBox::information(this, windowTitle(), m); };
    showSheet();
}

Frmdy::~Frmdy() = default;

QWidget* Frmdy::buildControls() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    const char16_t* sizeCaptions[] = {u"小", u"中", u"大", u"特大（满幅）"};
    auto* sizeRow = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        sizes[i] = new QRadioButton(QString::fromUtf16(sizeCaptions[i]), box);
        sizes[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        sizeRow->addWidget(sizes[i], i / 2, i % 2);
        connect(sizes[i], &QRadioButton::clicked, this, [this, i] {
            sheet_.chooseSize(static_cast<PortraitSize>(i));
            showSheet();
        });
    }
    sizes[1]->setChecked(true);
    column->addWidget(new QLabel(QStringLiteral("单人画像大小"), box));
    column->addLayout(sizeRow);
    const char16_t* layoutCaptions[] = {u"两人常规格式", u"三人常规格式", u"四联平铺打印", u"九联平铺打印"};
    for (int i = 0; i < 4; ++i) {
        layouts[i] = new QPushButton(QString::fromUtf16(layoutCaptions[i]), box);
        layouts[i]->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        column->addWidget(layouts[i]);
        connect(layouts[i], &QPushButton::clicked, this, [this, i] {
            for (QRadioButton* s : sizes)
                s->setAutoExclusive(false), s->setChecked(false), s->setAutoExclusive(true);
            sheet_.chooseLayout(static_cast<PrintPage>(i + 2));
            showSheet();
        });
    }
    const auto button = [box, column](QPushButton*& b, const char16_t* caption, const char* name) {
        b = new QPushButton(QString::fromUtf16(caption), box);
        b->setObjectName(QLatin1String(name));
        column->addWidget(b);
    };
    button(addText, u"添加文字", "addText");
    button(removeText, u"去掉文字", "removeText");
    button(loadText, u"调出文字", "loadText");
    button(saveText, u"保存文字", "saveText");
    button(setupButton, u"打印机设置", "setupButton");
    button(printButton, u"打  印", "printButton");
    button(pdfButton, u"存为PDF", "pdfButton");
    button(closeButton, u"返回画像界面", "closeButton");
    connect(loadText, &QPushButton::clicked, this, &Frmdy::loadCaptions);
    connect(saveText, &QPushButton::clicked, this, &Frmdy::saveCaptions);
    connect(printButton, &QPushButton::clicked, this, &Frmdy::print);
    connect(closeButton, &QPushButton::clicked, this, &Frmdy::reject);
    connect(addText, &QPushButton::clicked, this, [this] {
        sheet_.setCaptionsShown(true);
        showSheet();
    });
    connect(removeText, &QPushButton::clicked, this, [this] {
        sheet_.setCaptionsShown(false);
        showSheet();
    });
    connect(setupButton, &QPushButton::clicked, this, [this] {
        QPrintDialog setup(printer_.get(), this);
        setup.exec();  // cancelling keeps the printer as it was
    });
    connect(pdfButton, &QPushButton::clicked, this, [this] {
        const QString path = choose_(QStringLiteral("存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"), true);
        if (path.isEmpty()) return;
        const Status st = savePdf(path);
        tell(st ? QStringLiteral("已存为PDF：%1").arg(path) : st.message);
    });
    column->addStretch();
    return box;
}

void Frmdy::showSheet() {
    for (PreviewPage* p : pages_) {
        p->setVisible(p == page(sheet_.page()));
        p->showSheet();
    }
    const bool shown = sheet_.captionsShown();
    // The caption boxes lie over the page at their tops, centred on it and no wider than the paper.
    const auto place = [](QTextEdit* box, int topTwips, int widthTwips, int heightTwips) {
        const int w = std::min(px(widthTwips), px(kPageWidthTwips) - 24);
        box->setGeometry(12 + (px(kPageWidthTwips) - w) / 2, px(topTwips), w, px(heightTwips));
    };
    place(RichTextBox1, sheet_.caption1Top(), 5055, 750);
    place(RichTextBox2, sheet_.caption2Top(), 6120, 3000);
    RichTextBox1->setVisible(shown);
    RichTextBox2->setVisible(shown);
    RichTextBox1->raise();
    RichTextBox2->raise();
    addText->setEnabled(sheet_.textButtonsEnabled());
    removeText->setEnabled(sheet_.textButtonsEnabled());
}

void Frmdy::onFrame(int index) {
    const QString path = choose_(QStringLiteral("选择画像"), kPictureFilter, false);
    if (path.isEmpty()) return;
    if (const Status st = sheet_.fillFrame(index, path); !st) tell(st.message);
    showSheet();
}

void Frmdy::loadCaptions() {
    const QString path = choose_(QStringLiteral("请选择到打开文件的名字"), kCaptionFilter, false);
    if (path.isEmpty()) return;
    if (const Status st = loadCaptionFiles(path, *RichTextBox1->document(), *RichTextBox2->document()); !st)
        tell(st.message);
}

void Frmdy::saveCaptions() {
    const QString path = choose_(QStringLiteral("请输入一个要保存文件的名字"), kCaptionFilter, true);
    if (path.isEmpty()) return;
    if (const Status st = saveCaptionFiles(path, *RichTextBox1->document(), *RichTextBox2->document()); !st)
        tell(st.message);
}

Status Frmdy::printOn(QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer))
        return Status::unavailable(
            QStringLiteral("无法开始打印：请检查打印机是否已连接并开启。画面和文字都还在。"));
    const PrintedPage page = printedPage(sheet_, RichTextBox1->toPlainText(), RichTextBox2->toPlainText());
    paintPrintedPage(p, page, printer.resolution() / 1440.0);
    if (!p.end() || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return Status::writeFailed(
            QStringLiteral("打印没有完成：打印服务报告了错误或任务被取消。画面和文字都还在。"));
    return Status::success();
}

void Frmdy::print() {
    if (printer_->outputFormat() == QPrinter::NativeFormat && QPrinterInfo::availablePrinters().isEmpty())
        return tell(QStringLiteral("没有找到打印机：请先安装或连接打印机，或用“存为PDF”保存这一页。"));
    if (const Status st = printOn(*printer_); !st) tell(st.message);
}

Status Frmdy::savePdf(const QString& path) {
    // Written beside the target and renamed over it: a failed save leaves an earlier file whole.
    const QString part = path + QStringLiteral(".part");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(part);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    // The left and top text position of a common printer: a quarter inch in.
    pdf.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    pdf.setCreator(QStringLiteral("美发美容设计室"));
    Status st = printOn(pdf);
    if (st && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0)
        st = Status::writeFailed(QStringLiteral("PDF 无法保存到 %1。").arg(path));
    if (!st) QFile::remove(part);
    return st;
}

void Frmdy::tell(const QString& message) {
    if (tell_) tell_(message);
}

}  // namespace ms
