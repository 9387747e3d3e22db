#pragma once
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ShellFixture.h"
#include "shell/Frmzjm.h"
#include "shell/frmkaishi.h"

namespace ms {

// A mouse event with exactly these buttons, sent straight to the widget.
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The real main window on a test program folder, shown.
struct MainWindow {
    test::ShellFolder folder;
    StudioState studio;  // outlives the window, as in the program
    std::unique_ptr<Frmzjm> w;
    explicit MainWindow(std::initializer_list<int> withPicture = {1, 2, 3, 4, 5, 6, 7, 8})
        : folder(withPicture) {
        w = std::make_unique<Frmzjm>(studio, folder.path());
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    template <typename T = QWidget>
    T* get(const char* name) const {
        T* found = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTimer* timer(const char* name) const { return get<QTimer>(name); }
    frmkaishi* welcome() const { return w->findChild<frmkaishi*>("frmkaishi"); }
    QString text(const char* name) const { return get<QLabel>(name)->text(); }
    void click(const char* name, Qt::MouseButton b = Qt::LeftButton) const {
        QWidget* c = get(name);
        QTest::mouseMove(c, QPoint(10, 10));
        QTest::mouseClick(c, b, {}, QPoint(10, 10));
    }
    void pointAt(const char* name) const { QTest::mouseMove(get(name), QPoint(10, 10)); }
};

}  // namespace ms
