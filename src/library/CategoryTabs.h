#pragma once
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QGridLayout;

namespace ms {

// The category tab strip SSTab1: tabs in rows of a fixed length, exactly one chosen.
class CategoryTabs : public QWidget {
    Q_OBJECT
  public:
    explicit CategoryTabs(QWidget* parent = nullptr);
    void setTabs(const QStringList& captions, int perRow);
    void setCurrent(int tab);
    int current() const;
    int count() const;
    QString caption(int tab) const;

  signals:
    void tabClicked(int tab);

  private:
    QGridLayout* grid_;
    QButtonGroup* group_;
};

}  // namespace ms
