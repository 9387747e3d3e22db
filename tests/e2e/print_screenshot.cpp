// print-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in, tries one hairstyle and saves the design picture, tries another, then
// opens "打印设计图": the two-person layout with the saved design in its second frame and two
// captions; saves a screenshot of the window and the page as a PDF, rendered to OUT-page.png with
// pdftoppm. Exit 0 when the PDF holds both designs and the caption lines.
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>
#include <cstdio>

#include "E2eSteps.h"
#include "print/Frmdy.h"

using namespace ms;
using namespace ms::e2e;

namespace {

bool chooseHairstyle(Frmzjm& window, const char* thumbnail) {
    click(window.findChild<HotLabel*>(QStringLiteral("ImgFx")));
    settle(600);
    QWidget* library = window.findChild<QWidget*>(QStringLiteral("FrmTK1"));
    if (!library) return false;
    click(library->findChild<QWidget*>(QLatin1String(thumbnail)));
    settle(600);
    return true;
}

}  // namespace

int printSheet(Run& run) {
    Frmzjm& window = run.window;
    if (const char* failed = takeInPhoto(window, run.photo)) return std::printf("%s\n", failed), 1;
    if (!chooseHairstyle(window, "ImgTK2")) return std::printf("the hairstyle library did not open\n"), 1;
    const QString saved = QString(run.out).replace(QLatin1String(".png"), QLatin1String("-design1.png"));
    if (!window.workspace().saveDesignPicture(saved))
        return std::printf("the design picture was not saved\n"), 1;
    if (!chooseHairstyle(window, "ImgTK5")) return std::printf("the hairstyle library did not open\n"), 1;

    const QString pdf = QString(run.out).replace(QLatin1String(".png"), QLatin1String("-page.pdf"));
    Status printed;
    window.setPrintSetUp([&](Frmdy& print) {
        print.setFileChooser([saved](const QString&, const QString&, bool) { return saved; });
        QTimer::singleShot(300, &print, [&] {
            print.layouts[0]->click();
            click(print.findChild<QWidget*>(QStringLiteral("Image2_1")));
            print.RichTextBox1->setHtml(QStringLiteral("<b>王女士 · 发型方案</b>"));
            print.RichTextBox2->setPlainText(
                QStringLiteral("左：自然短发，显脸小，打理方便。\n右：层次中长发，柔和，适合椭圆脸。"));
            settle(300);
            run.screenshot();
            printed = print.savePdf(pdf);
            print.accept();
        });
    });
    click(window.findChild<HotLabel*>(QStringLiteral("Label9_4")));
    settle();
    if (!printed) return std::printf("the PDF was not written: %s\n", qPrintable(printed.message)), 1;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                              QString(pdf).replace(QLatin1String(".pdf"), QString())});
    if (!render.waitForFinished(30000) || render.exitCode() != 0) return std::printf("pdftoppm failed\n"), 1;
    const QImage page(QString(pdf).replace(QLatin1String(".pdf"), QLatin1String(".png")));
    // Ink in the caption band and pictures in both frames.
    int ink = 0, pictured = 0;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2) {
            const QRgb c = page.pixel(x, y);
            ink += y < page.height() / 5 && qGray(c) < 80;
            pictured += y > page.height() / 4 && y < page.height() * 3 / 5 && qGray(c) < 200;
        }
    std::printf("page %dx%d, caption ink %d, pictured %d\n", page.width(), page.height(), ink, pictured);
    return ink > 30 && pictured > 2000 ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "print-screenshot", printSheet); }
