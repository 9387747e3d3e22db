#include "library/SuitabilityLink.h"

namespace ms {

const std::vector<SuitabilityBox>& suitabilityBoxes() {
    using F = SuitabilityField;
    static const std::vector<SuitabilityBox> boxes = {
        {2, 0, QStringLiteral("圆脸"), F::RoundFace},   {2, 1, QStringLiteral("椭圆"), std::nullopt},
        {2, 2, QStringLiteral("方脸"), F::SquareFace},  {2, 3, QStringLiteral("长脸"), F::LongFace},
        {2, 4, QStringLiteral("尖脸"), F::PointedFace}, {3, 0, QStringLiteral("软"), F::HairSoft},
        {3, 1, QStringLiteral("中"), F::HairMedium},    {3, 2, QStringLiteral("硬"), F::HairCoarse},
        {4, 0, QStringLiteral("少"), F::AmountThin},    {4, 1, QStringLiteral("中"), F::AmountMedium},
        {4, 2, QStringLiteral("多"), F::AmountThick}};
    return boxes;
}

QString suitabilityGroupCaption(int group) {
    switch (group) {
        case 2:
            return QStringLiteral("适合脸型");
        case 3:
            return QStringLiteral("适合发质");
        case 4:
            return QStringLiteral("适合发量");
        default:
            return {};
    }
}

std::optional<SuitabilityField> fieldOfBox(int group, int index) {
    for (const SuitabilityBox& b : suitabilityBoxes())
        if (b.group == group && b.index == index) return b.field;
    return std::nullopt;
}

SuitabilityLink::SuitabilityLink(QString databasePath, HairstyleDatabase::Access access)
    : db_(std::move(databasePath), access) {}

Status SuitabilityLink::fail(const Status& st) {
    unbind();
    lastProblem_ = st.message;
    return st;
}

Status SuitabilityLink::bind(const QString& hairstyleName) {
    unbind();
    if (Status st = db_.open(); !st) return fail(st);
    std::optional<HairstyleRecord> found;
    if (Status st = db_.select(hairstyleName, found); !st) return fail(st);
    if (!found) {
        if (Status st = db_.add(hairstyleName); !st) return fail(st);
        if (Status st = db_.select(hairstyleName, found); !st) return fail(st);
        if (!found)
            return fail(Status::writeFailed(
                QStringLiteral("发型资料库没有保存 %1 的新记录，适合条件无法显示。").arg(hairstyleName)));
    }
    record_ = *found;
    bound_ = true;
    lastProblem_.clear();
    return Status::success();
}

Status SuitabilityLink::namesWith(SuitabilityField field, QStringList& out) {
    const bool wasOpen = db_.isOpen();
    if (!wasOpen)
        if (Status st = db_.open(); !st) return st;
    const Status st = db_.namesWith(field, out);
    if (!wasOpen) db_.close();
    return st;
}

void SuitabilityLink::unbind() {
    bound_ = false;
    record_ = HairstyleRecord();
    db_.close();
}

Status SuitabilityLink::boxClicked(int group, int index, bool checked) {
    const std::optional<SuitabilityField> field = fieldOfBox(group, index);
    if (!bound_ || !field) return Status::success();
    record_[*field] = checked;
    const Status st = db_.save(record_);
    if (!st) record_[*field] = !checked;  // the record stays what the database holds
    return st;
}

}  // namespace ms
