#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "base/Status.h"

class QSqlError;

namespace ms {

// When the statement that runs began, and how long it may run.
struct StatementClock;

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

    static constexpr std::chrono::milliseconds kStatementLimit{200};

    explicit HairstyleDatabase(QString filePath, Access access = Access::ReadWrite,
                               std::chrono::milliseconds statementLimit = kStatementLimit);
    ~HairstyleDatabase();
    HairstyleDatabase(const HairstyleDatabase&) = delete;
    HairstyleDatabase& operator=(const HairstyleDatabase&) = delete;

    // Opens the file and checks that FX is a real table with every column the studio uses. A
    // missing file is not created; a locked, damaged or foreign file is reported. The file comes
    // from outside the studio, so the connection runs defensively: triggers and views are off,
    // and a statement that runs longer than kStatementLimit is stopped and reported.
    Status open();
    bool isOpen() const { return open_; }
    void close();

    // The record whose 名字 equals `name`; nullopt in `out` when there is none.
    Status select(const QString& name, std::optional<HairstyleRecord>& out);
    // The names of the records with `field` set.
    Status namesWith(SuitabilityField field, QStringList& out);
    // Adds a record with this name and every field cleared.
    Status add(const QString& name);
    // Writes all fields of the record found by its name.
    Status save(const HairstyleRecord& record);

    const QString& filePath() const { return path_; }

  private:
    Status failure(const QString& action, const QSqlError& error) const;
    Status secureConnection();
    Status checkSchema();
    // Starts the clock of the statement about to run.
    void startStatement();

    QString path_;
    Access access_;
    QString connection_;
    bool open_ = false;
    std::unique_ptr<StatementClock> clock_;  // read by SQLite's progress handler
};

// Creates the database file anew with table FX holding `records` (names must differ). The file is
// built next to its final place and renamed over it, so an old file survives a failed build.
Status createHairstyleDatabase(const QString& filePath, const std::vector<HairstyleRecord>& records);

}  // namespace ms
