#pragma once
#include <QWidget>
#include <array>

namespace ms {

class HotLabel;

// The welcome window: three ways to begin. Shown without blocking, owned by the main window;
// using a button closes it and tells the main window which way was chosen.
class frmkaishi : public QWidget {
    Q_OBJECT
  public:
    explicit frmkaishi(QWidget* owner);
    static constexpr QSize kSize{360, 276};
    static constexpr int kHeaderHeight = 64;

  signals:
    void makeupChosen();      // "进行美容化妆"
    void autoDesignChosen();  // "自动设计发型"
    void libraryChosen();     // "打开发型库"

  protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    void lightOnly(HotLabel* lit);

    std::array<HotLabel*, 3> buttons_{};
};

}  // namespace ms
