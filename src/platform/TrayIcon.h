#pragma once
#include <QIcon>
#include <QObject>

class QSystemTrayIcon;

namespace ms {

// The system-tray icon that stands for the main window while it is hidden.
class TrayIcon : public QObject {
    Q_OBJECT
  public:
    TrayIcon(const QIcon& icon, const QString& toolTip, QObject* parent = nullptr);
    // False on desktops without a tray: the window is then minimised the ordinary way.
    static bool available();
    void show();
    void hide();
    bool isVisible() const;

  signals:
    void activated();

  private:
    QSystemTrayIcon* icon_;
};

}  // namespace ms
