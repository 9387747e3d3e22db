#include "platform/HairstyleDatabase.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <cstdio>

#include "platform/SafeFile.h"

namespace ms {

namespace {

// Column order of table FX after 名字; the reader and the writer both go through this table.
constexpr std::array<const char*, kSuitabilityFieldCount> kColumns = {
    "圆脸", "方脸", "长脸", "尖脸", "发质软", "发质中", "发质硬", "发量少", "发量中", "发量多"};
const char* const kNameColumn = "名字";
// A locked file is reported after this wait instead of blocking the window.
const char* const kBusyWaitMs = "250";

QString quoted(const QString& column) { return QLatin1Char('"') + column + QLatin1Char('"'); }

QString fieldList() {
    QStringList cols;
    for (const char* c : kColumns) cols << quoted(QString::fromUtf8(c));
    return cols.join(QStringLiteral(", "));
}

QString createTableSql() {
    QStringList cols{quoted(QString::fromUtf8(kNameColumn)) + QStringLiteral(" TEXT NOT NULL UNIQUE")};
    for (const char* c : kColumns)
        cols << quoted(QString::fromUtf8(c)) + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
    return QStringLiteral("CREATE TABLE FX (%1)").arg(cols.join(QStringLiteral(", ")));
}

// SQLite result codes (the low byte of the native code) that tell the user what is wrong.
enum : int {
    kBusy = SQLITE_BUSY,
    kLocked = SQLITE_LOCKED,
    kReadOnly = SQLITE_READONLY,
    kInterrupted = SQLITE_INTERRUPT,
    kCorrupt = SQLITE_CORRUPT,
    kCantOpen = SQLITE_CANTOPEN,
    kNotADatabase = SQLITE_NOTADB
};

// Called by SQLite every few thousand steps of a statement: a non-zero answer stops it.
}  // namespace

struct StatementClock {
    std::chrono::steady_clock::time_point start;
    std::chrono::milliseconds limit;
};

namespace {

int stopWhenLate(void* context) {
    const auto* clock = static_cast<const StatementClock*>(context);
    return std::chrono::steady_clock::now() - clock->start > clock->limit ? 1 : 0;
}

int primaryCode(const QSqlError& e) { return e.nativeErrorCode().toInt() & 0xFF; }

QString connectionName(const void* owner) {
    return QStringLiteral("ms-hairstyle-db-%1").arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

Status insertRecords(QSqlDatabase& db, const std::vector<HairstyleRecord>& records) {
    QSqlQuery q(db);
    if (!q.exec(createTableSql())) return Status::failure(StatusCode::WriteFailed, q.lastError().text());
    QStringList marks(kSuitabilityFieldCount + 1, QStringLiteral("?"));
    const QString sql = QStringLiteral("INSERT INTO FX (%1, %2) VALUES (%3)")
                            .arg(quoted(QString::fromUtf8(kNameColumn)), fieldList(), marks.join(u','));
    if (!q.prepare(sql)) return Status::failure(StatusCode::WriteFailed, q.lastError().text());
    for (const HairstyleRecord& r : records) {
        q.addBindValue(r.name);
        for (bool v : r.fields) q.addBindValue(v ? 1 : 0);
        if (!q.exec())
            return Status::failure(StatusCode::WriteFailed,
                                   QStringLiteral("%1：%2").arg(r.name, q.lastError().text()));
    }
    return Status::success();
}

}  // namespace

QString columnName(SuitabilityField field) { return QString::fromUtf8(kColumns[static_cast<size_t>(field)]); }

HairstyleDatabase::HairstyleDatabase(QString filePath, Access access,
                                     std::chrono::milliseconds statementLimit)
    : path_(std::move(filePath)),
      access_(access),
      connection_(connectionName(this)),
      clock_(std::make_unique<StatementClock>(StatementClock{{}, statementLimit})) {}

HairstyleDatabase::~HairstyleDatabase() { close(); }

void HairstyleDatabase::close() {
    open_ = false;
    if (!QSqlDatabase::contains(connection_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

Status HairstyleDatabase::failure(const QString& action, const QSqlError& error) const {
    const QString file = QFileInfo(path_).fileName();
    switch (primaryCode(error)) {
        case kBusy:
        case kLocked:
            return Status::failure(
                StatusCode::Unavailable,
                QStringLiteral("发型资料库 %1 正被其他程序占用，暂时无法%2。").arg(file, action));
        case kReadOnly:
            return Status::failure(StatusCode::WriteFailed,
                                   QStringLiteral("发型资料库 %1 是只读的，无法%2。").arg(file, action));
        case kInterrupted:
            return Status::damaged(
                QStringLiteral("发型资料库 %1 的查询太久没有结束，已停止；资料库可能已损坏，无法%2。")
                    .arg(file, action));
        case kCorrupt:
        case kNotADatabase:
            return Status::failure(
                StatusCode::Damaged,
                QStringLiteral("发型资料库 %1 已损坏或不是资料库文件，无法%2。").arg(file, action));
        case kCantOpen:
            return Status::failure(StatusCode::Unavailable,
                                   QStringLiteral("无法打开发型资料库 %1。").arg(path_));
        default:
            return Status::failure(
                StatusCode::Damaged,
                QStringLiteral("发型资料库 %1 无法%2（%3）。").arg(file, action, error.databaseText()));
    }
}

Status HairstyleDatabase::open() {
    close();
    // A pipe or device under the name would make SQLite's own open wait: only regular files.
    if (!isRegularFile(path_))
        return Status::failure(StatusCode::NotFound,
                               QStringLiteral("找不到发型资料库 %1，发型的适合条件无法显示。").arg(path_));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return Status::failure(StatusCode::Unavailable,
                               QStringLiteral("缺少 SQLite 数据库驱动，发型资料库无法使用。"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path_);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=") + QLatin1String(kBusyWaitMs);
        if (access_ == Access::ReadOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            const QSqlError e = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection_);
            return failure(QStringLiteral("打开"), e);
        }
    }
    Status st = secureConnection();
    if (st) st = checkSchema();
    if (!st) {
        close();
        return st;
    }
    open_ = true;
    return Status::success();
}

Status HairstyleDatabase::secureConnection() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const QVariant handle = db.driver()->handle();
    sqlite3* h = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                     ? *static_cast<sqlite3* const*>(handle.constData())
                     : nullptr;
    if (!h ||
        sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, static_cast<int*>(nullptr)) != SQLITE_OK ||
        sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_VIEW, 0, static_cast<int*>(nullptr)) != SQLITE_OK ||
        sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, static_cast<int*>(nullptr)) != SQLITE_OK)
        return Status::unavailable(QStringLiteral("发型资料库 %1 无法安全打开，发型的适合条件无法显示。")
                                       .arg(QFileInfo(path_).fileName()));
    sqlite3_progress_handler(h, 1000, stopWhenLate, clock_.get());
    return Status::success();
}

void HairstyleDatabase::startStatement() { clock_->start = std::chrono::steady_clock::now(); }

// FX must be a real table (a view could compute anything) with every column the studio reads and
// writes: SQLite takes an unknown double-quoted column name for a string, so a missing column
// would otherwise read as "not ticked" and a save would change nothing.
Status HairstyleDatabase::checkSchema() {
    const QString file = QFileInfo(path_).fileName();
    const Status foreign =
        Status::damaged(QStringLiteral("发型资料库 %1 中没有发型表 FX 或缺少栏目，无法读取。").arg(file));
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    startStatement();
    if (!q.exec(QStringLiteral("SELECT type FROM sqlite_master WHERE name = 'FX' COLLATE NOCASE")))
        return failure(QStringLiteral("读取"), q.lastError());
    if (!q.next() || q.value(0).toString() != QLatin1String("table")) return foreign;
    QStringList columns;
    startStatement();
    if (!q.exec(QStringLiteral("PRAGMA table_info(FX)")))
        return failure(QStringLiteral("读取"), q.lastError());
    while (q.next()) columns << q.value(1).toString().toLower();
    columns.sort();
    if (!columns.contains(QString::fromUtf8(kNameColumn))) return foreign;
    for (const char* c : kColumns)
        if (!columns.contains(QString::fromUtf8(c))) return foreign;
    // Touches every column, so a damaged file shows here, not on first use.
    startStatement();
    const QString probe = QStringLiteral("SELECT %1, %2 FROM FX LIMIT 1")
                              .arg(quoted(QString::fromUtf8(kNameColumn)), fieldList());
    if (!q.exec(probe)) return failure(QStringLiteral("读取"), q.lastError());
    return Status::success();
}

Status HairstyleDatabase::select(const QString& name, std::optional<HairstyleRecord>& out) {
    if (!open_) return Status::failure(StatusCode::Unavailable, QStringLiteral("发型资料库尚未打开。"));
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT %1 FROM FX WHERE %2 = ?")
                  .arg(fieldList(), quoted(QString::fromUtf8(kNameColumn))));
    q.addBindValue(name);
    startStatement();
    if (!q.exec()) return failure(QStringLiteral("查找发型记录"), q.lastError());
    if (!q.next()) {
        out.reset();
        return Status::success();
    }
    HairstyleRecord r;
    r.name = name;
    for (int i = 0; i < kSuitabilityFieldCount; ++i)
        r.fields[static_cast<size_t>(i)] = q.value(i).toInt() != 0;
    out = r;
    return Status::success();
}

Status HairstyleDatabase::namesWith(SuitabilityField field, QStringList& out) {
    out.clear();
    if (!open_) return Status::failure(StatusCode::Unavailable, QStringLiteral("发型资料库尚未打开。"));
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    // The flag is read as select() reads it, whatever type the file stores it in.
    q.prepare(QStringLiteral("SELECT %1, %2 FROM FX")
                  .arg(quoted(QString::fromUtf8(kNameColumn)), quoted(columnName(field))));
    startStatement();
    if (!q.exec()) return failure(QStringLiteral("查找适合的发型"), q.lastError());
    while (q.next())
        if (q.value(1).toInt() != 0) out << q.value(0).toString();
    return Status::success();
}

Status HairstyleDatabase::add(const QString& name) {
    if (!open_) return Status::failure(StatusCode::Unavailable, QStringLiteral("发型资料库尚未打开。"));
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("INSERT INTO FX (%1) VALUES (?)").arg(quoted(QString::fromUtf8(kNameColumn))));
    q.addBindValue(name);
    startStatement();
    if (!q.exec()) return failure(QStringLiteral("添加发型记录"), q.lastError());
    return Status::success();
}

Status HairstyleDatabase::save(const HairstyleRecord& record) {
    if (!open_) return Status::failure(StatusCode::Unavailable, QStringLiteral("发型资料库尚未打开。"));
    QStringList sets;
    for (const char* c : kColumns) sets << quoted(QString::fromUtf8(c)) + QStringLiteral(" = ?");
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("UPDATE FX SET %1 WHERE %2 = ?")
                  .arg(sets.join(QStringLiteral(", ")), quoted(QString::fromUtf8(kNameColumn))));
    for (bool v : record.fields) q.addBindValue(v ? 1 : 0);
    q.addBindValue(record.name);
    startStatement();
    if (!q.exec()) return failure(QStringLiteral("保存发型记录"), q.lastError());
    if (q.numRowsAffected() != 1)
        return Status::failure(StatusCode::NotFound,
                               QStringLiteral("发型资料库中已没有 %1 的记录，无法保存。").arg(record.name));
    return Status::success();
}

Status createHairstyleDatabase(const QString& filePath, const std::vector<HairstyleRecord>& records) {
    const QString building = filePath + QStringLiteral(".new");
    QFile::remove(building);
    const QString connection = connectionName(&records);
    Status st;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(building);
        if (!db.open()) {
            st = Status::failure(StatusCode::WriteFailed, db.lastError().text());
        } else {
            db.transaction();
            st = insertRecords(db, records);
            if (st && !db.commit()) st = Status::failure(StatusCode::WriteFailed, db.lastError().text());
            if (!st) db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (st) {
        // The finished file replaces the old one through the same checked replacement as every
        // other file of the studio.
        QFile built(building);
        st = built.open(QIODevice::ReadOnly)
                 ? replaceFile(filePath, built.readAll())
                 : Status::writeFailed(QStringLiteral("无法读取 %1").arg(building));
    }
    QFile::remove(building);
    if (!st) {
        return Status::failure(StatusCode::WriteFailed,
                               QStringLiteral("无法建立发型资料库 %1：%2").arg(filePath, st.message));
    }
    return Status::success();
}

}  // namespace ms
