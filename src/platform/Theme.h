#pragma once
#include <QColor>

class QApplication;

// The studio's one look: cream windows, warm ink and a rose accent, on every window and control.
namespace ms::theme {

inline const QColor kInk{61, 53, 48};
inline const QColor kMuted{150, 138, 130};
inline const QColor kAccent{168, 115, 125};
inline const QColor kAccentLight{241, 228, 228};
inline const QColor kWindow{243, 238, 233};
inline const QColor kPaper{252, 250, 247};
inline const QColor kLine{214, 204, 196};

// Sets the Fusion style, a palette in these colours (so no control shows the platform's blue) and
// the look of push buttons, sliders and group boxes for the whole program.
void applyStudioTheme(QApplication& app);

}  // namespace ms::theme
