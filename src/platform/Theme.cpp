#include "platform/Theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace ms::theme {

namespace {

QString css(const QColor& c) { return c.name(QColor::HexRgb); }

// Tool buttons are the category tabs of the library windows.
// %1 ink, %2 accent, %3 accent light, %4 paper, %5 line, %6 muted, %7 window.
constexpr const char* kStyleSheet = R"(
QPushButton, QToolButton { background: %4; color: %1; border: 1px solid %5; border-radius: 5px; padding: 3px 10px; }
QPushButton:hover, QToolButton:hover { background: %3; border-color: %2; }
QPushButton:pressed, QPushButton:checked, QToolButton:pressed, QToolButton:checked { background: %2; color: white; border-color: %2; }
QPushButton:disabled, QToolButton:disabled { background: %7; color: %6; border-color: %5; }
QSlider::groove:horizontal { height: 4px; background: %5; border-radius: 2px; }
QSlider::sub-page:horizontal { height: 4px; background: %2; border-radius: 2px; }
QSlider::handle:horizontal { width: 14px; margin: -6px 0; border-radius: 7px; background: %4; border: 1px solid %2; }
QSlider::groove:vertical { width: 4px; background: %5; border-radius: 2px; }
QSlider::add-page:vertical { width: 4px; background: %2; border-radius: 2px; }
QSlider::handle:vertical { height: 14px; margin: 0 -6px; border-radius: 7px; background: %4; border: 1px solid %2; }
QSlider::handle:disabled { border-color: %5; }
QGroupBox { border: 1px solid %5; border-radius: 6px; margin-top: 8px; padding-top: 4px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; color: %1; }
QToolTip { background: %4; color: %1; border: 1px solid %5; }
)";

}  // namespace

void applyStudioTheme(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QPalette pal;
    pal.setColor(QPalette::Window, kWindow);
    pal.setColor(QPalette::WindowText, kInk);
    pal.setColor(QPalette::Base, kPaper);
    pal.setColor(QPalette::AlternateBase, kAccentLight);
    pal.setColor(QPalette::Text, kInk);
    pal.setColor(QPalette::Button, kPaper);
    pal.setColor(QPalette::ButtonText, kInk);
    pal.setColor(QPalette::Highlight, kAccent);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::ToolTipBase, kPaper);
    pal.setColor(QPalette::ToolTipText, kInk);
    pal.setColor(QPalette::Link, kAccent);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, kMuted);
    app.setPalette(pal);
    app.setStyleSheet(QString::fromLatin1(kStyleSheet)
                          .arg(css(kInk), css(kAccent), css(kAccentLight), css(kPaper), css(kLine),
                               css(kMuted), css(kWindow)));
}

}  // namespace ms::theme
