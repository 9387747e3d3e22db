#include "library/CategoryTabs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QToolButton>

namespace ms {

CategoryTabs::CategoryTabs(QWidget* parent)
    : QWidget(parent), grid_(new QGridLayout(this)), group_(new QButtonGroup(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(1);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &CategoryTabs::tabClicked);
}

void CategoryTabs::setTabs(const QStringList& captions, int perRow) {
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QToolButton(this);
        b->setText(captions[i]);
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        group_->addButton(b, i);
        grid_->addWidget(b, i / perRow, i % perRow);
    }
    setCurrent(0);
}

void CategoryTabs::setCurrent(int tab) {
    if (QAbstractButton* b = group_->button(tab)) b->setChecked(true);
}

int CategoryTabs::current() const { return group_->checkedId(); }

int CategoryTabs::count() const { return static_cast<int>(group_->buttons().size()); }

QString CategoryTabs::caption(int tab) const {
    const QAbstractButton* b = group_->button(tab);
    return b ? b->text() : QString();
}

}  // namespace ms
