#pragma once
#include <QString>
#include <optional>
#include <vector>

#include "platform/HairstyleDatabase.h"

namespace ms {

// A check box of the main window's suitability groups: Check2 (index 0..4), Check3 and Check4 (0..2).
struct SuitabilityBox {
    int group;  // 2, 3 or 4, as in Check2 .. Check4
    int index;
    QString caption;
    std::optional<SuitabilityField> field;  // "椭圆" is bound to no field
};
const std::vector<SuitabilityBox>& suitabilityBoxes();
QString suitabilityGroupCaption(int group);  // "适合脸型", "适合发质", "适合发量"
std::optional<SuitabilityField> fieldOfBox(int group, int index);

// The connection between the hairstyle database and the main window's check boxes: bound to the
// record of the hairstyle applied last, unbound until then and after any database failure.
class SuitabilityLink {
  public:
    explicit SuitabilityLink(QString databasePath,
                             HairstyleDatabase::Access access = HairstyleDatabase::Access::ReadWrite);

    // Connects afresh and binds the record named `hairstyleName`, adding it (all fields cleared)
    // when there is none; at most one record is added. A failure leaves the link unbound.
    Status bind(const QString& hairstyleName);
    void unbind();
    bool isBound() const { return bound_; }
    const HairstyleRecord& record() const { return record_; }

    // A check box click: the bound field takes the box's state and the record is saved. Boxes
    // without a field and clicks while unbound change nothing.
    Status boxClicked(int group, int index, bool checked);

    // The names of the hairstyles whose record has `field` set. Leaves the binding as it is.
    Status namesWith(SuitabilityField field, QStringList& out);

    // The last bind failure, "" after a successful bind; lets callers report a lasting problem once.
    const QString& lastProblem() const { return lastProblem_; }

  private:
    Status fail(const Status& st);

    HairstyleDatabase db_;
    HairstyleRecord record_;
    bool bound_ = false;
    QString lastProblem_;
};

}  // namespace ms
