#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ms {

// Where a tool or library window of `size` opens beside the main window (`owner`, its frame on the
// screen), `drop` pixels below the main window's top, on a screen whose free area is `screen`:
// to the right of the main window where the screen has room, else to its left, else over the main
// window's left edge (its tool strip), never over the canvas or the right-hand panel if the screen
// allows. Always inside the screen.
QPoint besideMainWindow(const QRect& owner, const QRect& screen, QSize size, int drop = 76);

// The same for a window: sized to its contents first, then moved.
void placeBesideMainWindow(const QWidget* owner, QWidget* window);

}  // namespace ms
