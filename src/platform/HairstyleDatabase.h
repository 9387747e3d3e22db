#pragma once
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "base/Status.h"

class QSqlError;

namespace ms {

// The ten yes/no columns of a hairstyle record, in column order.
enum class SuitabilityField {
    RoundFace,
    SquareFace,
    LongFace,
    PointedFace,
    HairSoft,
    HairMedium,
    HairCoarse,
    AmountThin,
    AmountMedium,
    AmountThick
};
constexpr int kSuitabilityFieldCount = 10;

// Column name of a field in table FX ("圆脸", "发质软", ...).
QString columnName(SuitabilityField field);

// One record of table FX: the hairstyle's file name without folder and what the style suits.
struct HairstyleRecord {
    QString name;
    std::array<bool, kSuitabilityFieldCount> fields{};

    bool& operator[](SuitabilityField f) { return fields[static_cast<size_t>(f)]; }
    bool operator[](SuitabilityField f) const { return fields[static_cast<size_t>(f)]; }
    bool operator==(const HairstyleRecord&) const = default;
};

// The hairstyle database file (P + "/dova.mdb"), an SQLite file holding table FX.
// Each object owns one connection of its own; names are always bound as parameters.
class HairstyleDatabase {
  public:
    enum class Access { ReadWrite, ReadOnly };

    explicit HairstyleDatabase(QString filePath, Access access = Access::ReadWrite);
    ~HairstyleDatabase();
    HairstyleDatabase(const HairstyleDatabase&) = delete;
    HairstyleDatabase& operator=(const HairstyleDatabase&) = delete;

    // Opens the file and checks that table FX has the expected columns. A missing file is not
    // created; a locked, damaged or foreign file is reported.
    Status open();
    bool isOpen() const { return open_; }
    void close();

    // The record whose 名字 equals `name`; nullopt in `out` when there is none.
    Status select(const QString& name, std::optional<HairstyleRecord>& out);
    // Adds a record with this name and every field cleared.
    Status add(const QString& name);
    // Writes all fields of the record found by its name.
    Status save(const HairstyleRecord& record);

    const QString& filePath() const { return path_; }

  private:
    Status failure(const QString& action, const QSqlError& error) const;

    QString path_;
    Access access_;
    QString connection_;
    bool open_ = false;
};

// Creates the database file anew with table FX holding `records` (names must differ). The file is
// built next to its final place and renamed over it, so an old file survives a failed build.
Status createHairstyleDatabase(const QString& filePath, const std::vector<HairstyleRecord>& records);

}  // namespace ms
