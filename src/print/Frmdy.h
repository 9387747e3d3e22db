#pragma once
#include <QDialog>
#include <QPrinter>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "base/Status.h"
#include "print/PrintLayout.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace ms {

// One preview page Piczhi1 .. Piczhi5: white paper with its picture frames at their twips places,
// 15 twips a pixel. A click on a frame asks for another picture.
class PreviewPage : public QWidget {
    Q_OBJECT
  public:
    PreviewPage(const PrintSheet& sheet, PrintPage page, QWidget* parent);
    // The frame boxes, in index order; their rectangles follow the sheet (the single portrait's size).
    const std::vector<QWidget*>& frameBoxes() const { return boxes_; }
    void showSheet();

  signals:
    void frameClicked(int index);

  private:
    const PrintSheet& sheet_;
    PrintPage page_;
    std::vector<QWidget*> boxes_;
};

// The print window "打印设计图": the current design on a white A4 page in one of five layouts, two
// captions, printing on the salon's printer and saving the page as a PDF. Modal.
class Frmdy : public QDialog {
    Q_OBJECT
  public:
    // Asks for a file: (title, filter, save) -> path, "" when cancelled.
    using FileChooser = std::function<QString(const QString& title, const QString& filter, bool save)>;
    Frmdy(const QImage& design, QWidget* owner);
    ~Frmdy() override;

    // The dialogs to use instead of the platform's (tests give their answers).
    void setFileChooser(FileChooser choose) { choose_ = std::move(choose); }
    void setMessageSink(std::function<void(const QString&)> tell) { tell_ = std::move(tell); }

    const PrintSheet& sheet() const { return sheet_; }
    PreviewPage* page(PrintPage p) const { return pages_[static_cast<size_t>(p) - 1]; }
    // The page as it prints, rendered into a PDF file (also "存为PDF").
    Status savePdf(const QString& path);

    std::array<QRadioButton*, 4> sizes{};   // "小", "中", "大", "特大（满幅）"
    std::array<QPushButton*, 4> layouts{};  // two, three, four-up, nine-up
    QTextEdit* RichTextBox1 = nullptr;
    QTextEdit* RichTextBox2 = nullptr;
    QPushButton* addText = nullptr;      // "添加文字"
    QPushButton* removeText = nullptr;   // "去掉文字"
    QPushButton* loadText = nullptr;     // "调出文字"
    QPushButton* saveText = nullptr;     // "保存文字"
    QPushButton* setupButton = nullptr;  // "打印机设置"
    QPushButton* printButton = nullptr;  // "打  印"
    QPushButton* pdfButton = nullptr;    // "存为PDF"
    QPushButton* closeButton = nullptr;  // "返回画像界面"

  private:
    QWidget* buildControls();
    void showSheet();
    void onFrame(int index);
    void loadCaptions();
    void saveCaptions();
    void print();
    Status printOn(QPrinter& printer);
    void tell(const QString& message);

    PrintSheet sheet_;
    std::array<PreviewPage*, 5> pages_{};
    std::unique_ptr<QPrinter> printer_;
    FileChooser choose_;
    std::function<void(const QString&)> tell_;
};

}  // namespace ms
