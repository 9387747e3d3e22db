#pragma once
#include <QDialog>

class QLabel;

namespace ms {

class HotLabel;

// The exit confirmation, 264 x 560 pixels, modal and without an owner. Confirming shows the wait
// caption and the busy pointer and hands over to the shutdown; declining just closes it.
class frmguanbi : public QDialog {
    Q_OBJECT
  public:
    explicit frmguanbi(const QString& programFolder);
    static constexpr QSize kClientSize{264, 560};  // 3960 x 8400 twips at 15 twips a pixel

  signals:
    void confirmed();  // the shutdown runs in the slot; the window stays open until it is done

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void lightOnly(HotLabel* lit);
    void confirm();

    QLabel* Label1_ = nullptr;
    HotLabel* Command1_ = nullptr;
    HotLabel* Command2_ = nullptr;
};

}  // namespace ms
