// The print window with QTest, and its page rendered to PDF and back to pixels with pdftoppm.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "print/Frmdy.h"
#include "print/PrintLayout.h"
#include "support/AppEnvironment.h"
#include "support/Fixtures.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_print_ui");

constexpr int kDpi = 60;
constexpr double kMarginTwips = 6.35 / 25.4 * 1440;  // the PDF's left and top text position

// The PDF's first page as a picture at kDpi.
QImage renderPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, pdf + QStringLiteral(".page")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm could not render " << pdf.toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return QImage(pdf + QStringLiteral(".page.png"));
}

// The pixel of the rendered page at a point of the printed page, in twips from the text position.
QPoint at(const QImage& page, double xTwips, double yTwips) {
    (void)page;
    return QPoint(static_cast<int>((xTwips + kMarginTwips) * kDpi / 1440),
                  static_cast<int>((yTwips + kMarginTwips) * kDpi / 1440));
}

bool isRed(QRgb c) { return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90; }
bool isBlue(QRgb c) { return qBlue(c) > 150 && qRed(c) < 90; }
bool isWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

struct PrintWindow {
    QTemporaryDir dir;
    Frmdy w{test::solidPicture(380, 480, QColor(200, 30, 30)), nullptr};
    QStringList answers, told;
    PrintWindow() {
        w.setFileChooser([this](const QString&, const QString&, bool) {
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        w.setMessageSink([this](const QString& m) { told << m; });
    }
    QImage pdf(const char* name) {
        const QString path = dir.filePath(QLatin1String(name));
        const Status st = w.savePdf(path);
        EXPECT_TRUE(st) << st.message.toStdString();
        return renderPdf(path);
    }
};

}  // namespace

TEST(PrintWindow, NineUpPrintsNineCopiesWhereThePreviewHasThem) {
    PrintWindow t;
    QTest::mouseClick(t.w.layouts[3], Qt::LeftButton);
    EXPECT_FALSE(t.w.addText->isEnabled());
    EXPECT_FALSE(t.w.RichTextBox1->isVisibleTo(&t.w));
    EXPECT_TRUE(t.w.page(PrintPage::Nine)->isVisibleTo(&t.w));
    EXPECT_FALSE(t.w.page(PrintPage::Single)->isVisibleTo(&t.w));
    const QImage page = t.pdf("nine.pdf");
    ASSERT_FALSE(page.isNull());
    for (const QRect& f : frameRects(PrintPage::Nine, PortraitSize::Medium)) {
        const double x = 1.72 * f.left() - 1000, y = 1.72 * f.top(), w = 1.72 * f.width(),
                     h = 1.72 * f.height();
        EXPECT_TRUE(isRed(page.pixel(at(page, x + w / 2, y + h / 2))));
        EXPECT_TRUE(isRed(page.pixel(at(page, x + 60, y + 60))));
        EXPECT_TRUE(isWhite(page.pixel(at(page, x - 60, y + h / 2))));
        EXPECT_TRUE(isWhite(page.pixel(at(page, x + w / 2, y + h + 60))));
    }
}

TEST(PrintWindow, TwoPersonsWithAnotherDesignAndCaptions) {
    PrintWindow t;
    QTest::mouseClick(t.w.layouts[0], Qt::LeftButton);
    const QString other = t.dir.filePath("other.png");
    ASSERT_TRUE(test::solidPicture(380, 480, QColor(20, 40, 220)).save(other));
    t.answers << other;
    QWidget* second = t.w.findChild<QWidget*>("Image2_1");
    ASSERT_NE(second, nullptr);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(t.told.isEmpty());
    // A cancelled dialog and a file that is no picture change nothing.
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(10, 10));
    t.answers << t.dir.filePath("missing.png");
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(t.told.size(), 1);
    t.w.RichTextBox1->setPlainText(QStringLiteral("王女士的新发型"));
    t.w.RichTextBox2->setPlainText(QStringLiteral("短发 层次 栗色"));
    EXPECT_TRUE(t.w.RichTextBox1->isVisibleTo(&t.w));
    const QImage page = t.pdf("two.pdf");
    ASSERT_FALSE(page.isNull());
    const std::vector<QRect> frames = frameRects(PrintPage::Two, PortraitSize::Medium);
    const auto centre = [&page](const QRect& f) {
        return page.pixel(
            at(page, 1.72 * f.left() - 1000 + 1.72 * f.width() / 2, 1.72 * (f.top() + f.height() / 2)));
    };
    EXPECT_TRUE(isRed(centre(frames[0])));
    EXPECT_TRUE(isBlue(centre(frames[1])));
    // The caption lines: dark pixels at the left text position from their tops (24 and 16 points).
    const auto inked = [&page](double top, double height) {
        int dark = 0;
        for (double y = top; y < top + height; y += 10)
            for (double x = 0; x < 4000; x += 10) dark += qGray(page.pixel(at(page, x, y))) < 100;
        return dark;
    };
    EXPECT_GT(inked(1.72 * (1900 - 630), 480), 20);
    EXPECT_GT(inked(1.72 * (6690 - 630), 320), 10);
    EXPECT_EQ(inked(1.72 * (1900 - 630) - 500, 400), 0);

    QTest::mouseClick(t.w.removeText, Qt::LeftButton);
    EXPECT_FALSE(t.w.RichTextBox1->isVisibleTo(&t.w));
    // A folder that cannot take the file: said so, and nothing is left behind.
    const Status failed = t.w.savePdf(t.dir.filePath("missing/folder/sheet.pdf"));
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.message.isEmpty());
    const QImage bare = t.pdf("bare.pdf");
    int dark = 0;
    for (double x = 0; x < 4000; x += 10)
        dark += qGray(bare.pixel(at(bare, x, 1.72 * (1900 - 630) + 150))) < 100;
    EXPECT_EQ(dark, 0);
}
