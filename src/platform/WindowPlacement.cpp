#include "platform/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ms {

QPoint besideMainWindow(const QRect& owner, const QRect& screen, QSize size, int drop) {
    int x = owner.right() + 1;
    if (x + size.width() > screen.right() + 1) {
        // No room on the right: the left side, where the main window has only its tool strip.
        x = owner.left() - size.width() >= screen.left() ? owner.left() - size.width() : owner.left();
    }
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
    const int y = std::clamp(owner.top() + drop, screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

void placeBesideMainWindow(const QWidget* owner, QWidget* window) {
    window->adjustSize();
    const QRect frame = owner->frameGeometry();
    const QScreen* screen = owner->screen();
    const QRect room = screen ? screen->availableGeometry() : frame;
    // The frame of the window is a little larger than its contents; keep it on the screen too.
    const QSize frameExtra = window->frameGeometry().size() - window->size();
    window->move(besideMainWindow(frame, room, window->size() + frameExtra.expandedTo(QSize())));
}

}  // namespace ms
