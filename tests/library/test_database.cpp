#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "LibraryStudio.h"
#include "library/LibraryBrowser.h"
#include "library/SuitabilityLink.h"
#include "platform/HairstyleDatabase.h"
#include "support/ChildProcess.h"

using namespace ms;
using F = SuitabilityField;

namespace {

HairstyleRecord record(const QString& name, std::initializer_list<F> on) {
    HairstyleRecord r;
    r.name = name;
    for (F f : on) r[f] = true;
    return r;
}

std::optional<HairstyleRecord> lookUp(const QString& path, const QString& name) {
    HairstyleDatabase db(path);
    std::optional<HairstyleRecord> out;
    EXPECT_TRUE(db.open());
    EXPECT_TRUE(db.select(name, out));
    return out;
}

// A hairstyle studio with a seeded database, two hairstyles and the info picture of the first.
struct HairStudio : test::LibraryStudio {
    SuitabilityLink link{dbPath()};
    LibraryBrowser hair{s, LibraryKind::Hairstyles, &link};
    HairStudio() {
        EXPECT_TRUE(createHairstyleDatabase(dbPath(), {record("dz1.tta", {F::RoundFace, F::AmountThick})}));
        folder.component("faxing/dz1.tta", 380, 480, 0xFF332211u);
        folder.component("faxing/dz2.tta", 380, 480, 0xFF112233u);
        EXPECT_TRUE(
            savePictureBmp(folder.file("faxing1/dz1.BMP"), test::solidPicture(60, 80, QColor(1, 2, 3))));
        hair.open();
    }
};

}  // namespace

TEST(HairstyleDatabase, SeededFileHoldsTableFXWithTheChineseColumns) {
    test::LibraryStudio st;
    const std::vector<HairstyleRecord> seed = {record("dz1.tta", {F::RoundFace, F::HairSoft}),
                                               record("mj2.tta", {F::AmountThick, F::PointedFace}),
                                               record("x.tta", {})};
    ASSERT_TRUE(createHairstyleDatabase(st.dbPath(), seed));
    EXPECT_FALSE(QFile::exists(st.dbPath() + ".new"));
    for (const HairstyleRecord& r : seed) EXPECT_EQ(lookUp(st.dbPath(), r.name), r);
    EXPECT_FALSE(lookUp(st.dbPath(), "none.tta").has_value());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "columns");
        db.setDatabaseName(st.dbPath());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QString::fromUtf8(
            "SELECT 名字, 圆脸, 方脸, 长脸, 尖脸, 发质软, 发质中, 发质硬, 发量少, 发量中, 发量多 FROM FX")));
    }
    QSqlDatabase::removeDatabase("columns");

    // Duplicate names fail and the file already there survives.
    EXPECT_FALSE(createHairstyleDatabase(st.dbPath(), {record("a.tta", {}), record("a.tta", {})}));
    EXPECT_EQ(lookUp(st.dbPath(), "mj2.tta"), seed[1]);
    EXPECT_FALSE(QFile::exists(st.dbPath() + ".new"));
}

TEST(HairstyleRecordLink, ApplyCreatesFindsAndSavesTheRecord) {
    HairStudio h;
    LibraryApplied r = h.hair.apply(1);  // dz2.tta: no record yet
    ASSERT_TRUE(r.done);
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join('\n').toStdString();
    EXPECT_TRUE(r.recordBound);
    EXPECT_EQ(r.record, record("dz2.tta", {}));
    EXPECT_TRUE(r.infoPicture.isNull());  // no info picture: Image1 is cleared
    EXPECT_EQ(test::recordsNamed(h.dbPath(), "dz2.tta"), 1);

    r = h.hair.apply(1);  // found the second time, not added again
    EXPECT_EQ(test::recordsNamed(h.dbPath(), "dz2.tta"), 1);
    EXPECT_EQ(h.s.session.history.position, 2);

    r = h.hair.apply(0);
    EXPECT_EQ(r.record, record("dz1.tta", {F::RoundFace, F::AmountThick}));
    EXPECT_EQ(r.infoPicture.size(), QSize(60, 80));
    EXPECT_EQ(h.s.doc.design.faxingname, h.folder.file("faxing/dz1.tta"));
    EXPECT_FALSE(h.s.doc.flags.modified(Kind::faxing));

    EXPECT_TRUE(h.link.boxClicked(3, 2, true));   // 硬
    EXPECT_TRUE(h.link.boxClicked(2, 0, false));  // 圆脸 off
    EXPECT_TRUE(h.link.boxClicked(2, 1, true));   // 椭圆: bound to no field
    const HairstyleRecord saved = record("dz1.tta", {F::HairCoarse, F::AmountThick});
    EXPECT_EQ(h.link.record(), saved);
    EXPECT_EQ(lookUp(h.dbPath(), "dz1.tta"), saved);
    EXPECT_EQ(lookUp(h.dbPath(), "dz2.tta"), record("dz2.tta", {}));  // the other record is untouched
}

TEST(HairstyleRecordLink, NameWithAQuoteIsBoundAsAParameter) {
    HairStudio h;
    h.folder.component("faxing/dz'3.tta", 380, 480, 0xFF000000u);
    h.hair.selectCategory(0);
    ASSERT_EQ(test::fileNames(QStringList{h.hair.pages().entry(0)}), QStringList{"dz'3.tta"});  // ' before 1
    const LibraryApplied r = h.hair.apply(0);
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join('\n').toStdString();
    ASSERT_TRUE(r.recordBound);
    EXPECT_TRUE(h.link.boxClicked(4, 0, true));
    EXPECT_EQ(lookUp(h.dbPath(), "dz'3.tta"), record("dz'3.tta", {F::AmountThin}));
    EXPECT_EQ(test::recordsNamed(h.dbPath(), "dz'3.tta"), 1);
}

TEST(HairstyleRecordLink, MissingOrCorruptDatabaseIsReportedOnceAndLeavesTheBoxesUnbound) {
    HairStudio h;
    QFile::remove(h.dbPath());
    LibraryApplied r = h.hair.apply(0);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(h.s.doc.design.faxingname, h.folder.file("faxing/dz1.tta"));  // the hairstyle is applied anyway
    EXPECT_EQ(h.s.session.history.position, 1);
    EXPECT_FALSE(r.recordBound);
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_TRUE(r.problems[0].contains("找不到发型资料库"));
    EXPECT_FALSE(QFile::exists(h.dbPath()));  // not created by the look-up
    r = h.hair.apply(1);
    EXPECT_TRUE(r.problems.isEmpty());           // the same problem is not repeated
    EXPECT_TRUE(h.link.boxClicked(2, 0, true));  // unbound: nothing happens
    EXPECT_FALSE(QFile::exists(h.dbPath()));

    QByteArray junk(4096, '\0');
    for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 37 + 11);
    QFile f(h.dbPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(junk);
    f.close();
    r = h.hair.apply(0);
    EXPECT_FALSE(r.recordBound);
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_TRUE(r.problems[0].contains("损坏")) << r.problems[0].toStdString();
    EXPECT_EQ(test::bytesOf(h.dbPath()), junk);  // nothing written into the damaged file

    // Once the database is good again the next apply binds without a message.
    ASSERT_TRUE(createHairstyleDatabase(h.dbPath(), {}));
    r = h.hair.apply(0);
    EXPECT_TRUE(r.problems.isEmpty());
    EXPECT_TRUE(r.recordBound);
}

TEST(HairstyleRecordLink, ReadOnlyAndLockedDatabases) {
    HairStudio h;
    const QByteArray before = test::bytesOf(h.dbPath());
    SuitabilityLink readOnly(h.dbPath(), HairstyleDatabase::Access::ReadOnly);
    ASSERT_TRUE(readOnly.bind("dz1.tta"));  // an existing record is shown
    EXPECT_EQ(readOnly.record(), record("dz1.tta", {F::RoundFace, F::AmountThick}));
    const Status saved = readOnly.boxClicked(3, 0, true);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.message.contains("只读")) << saved.message.toStdString();
    const Status added = readOnly.bind("dz2.tta");  // a missing one cannot be added
    EXPECT_FALSE(added);
    EXPECT_FALSE(readOnly.isBound());
    EXPECT_EQ(test::bytesOf(h.dbPath()), before);

    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(h.dbPath());
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE"));
        const LibraryApplied r = h.hair.apply(0);
        EXPECT_TRUE(r.done);
        EXPECT_FALSE(r.recordBound);
        ASSERT_EQ(r.problems.size(), 1);
        EXPECT_TRUE(r.problems[0].contains("占用")) << r.problems[0].toStdString();
        q.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase("locker");
    EXPECT_TRUE(h.hair.apply(0).recordBound);
}

TEST(HairstyleDatabase, ForeignFileAndUnopenedUse) {
    test::LibraryStudio st;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(st.dbPath());
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE other (x INTEGER)");
    }
    QSqlDatabase::removeDatabase("foreign");
    HairstyleDatabase db(st.dbPath());
    const Status opened = db.open();
    EXPECT_FALSE(opened);
    EXPECT_TRUE(opened.message.contains("FX"));
    std::optional<HairstyleRecord> out;
    EXPECT_FALSE(db.select("a", out));
    EXPECT_FALSE(db.add("a"));

    // A folder that is a regular file: the path cannot be a database.
    QFile(st.folder.file("blocked")).open(QIODevice::WriteOnly);
    HairstyleDatabase blocked(st.folder.file("blocked/dova.mdb"));
    EXPECT_FALSE(blocked.open());
    EXPECT_FALSE(createHairstyleDatabase(st.folder.file("blocked/dova.mdb"), {}));
}

namespace {

// Runs SQL on the database file through a connection of the test's own.
void execute(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "hostile");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& sql : statements) ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase("hostile");
}

QString columnsSql() {
    QStringList cols{"\"名字\" TEXT"};
    for (int i = 0; i < kSuitabilityFieldCount; ++i)
        cols << QString("\"%1\" INTEGER DEFAULT 0").arg(columnName(static_cast<F>(i)));
    return cols.join(", ");
}

}  // namespace

// Files that would hang the studio or fail it quietly: a view computing without end, a trigger
// inserting without end, a table without the studio's columns. Each is reported promptly and left
// unbound; the applied hairstyle stays and the file does not grow.
TEST(HairstyleDatabase, HostileFilesAreReportedWithoutHangingOrGrowing) {
    struct Case {
        const char* what;
        QStringList sql;
    };
    QStringList values{"x"};
    for (int i = 0; i < kSuitabilityFieldCount; ++i) values << "0";
    const std::vector<Case> cases = {
        {"endless view (refused)",
         {QString("CREATE VIEW FX AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                  "SELECT x AS \"名字\", %1 FROM c")
              .arg([] {
                  QStringList cols;
                  for (int i = 0; i < kSuitabilityFieldCount; ++i)
                      cols << QString("0 AS \"%1\"").arg(columnName(static_cast<F>(i)));
                  return cols.join(", ");
              }())}},
        {"endless trigger (opens, trigger off)",
         {"CREATE TABLE FX (" + columnsSql() + ")", "CREATE TABLE junk (b BLOB)",
          "CREATE TRIGGER grow AFTER INSERT ON FX BEGIN INSERT INTO junk WITH RECURSIVE c(x) AS "
          "(SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT randomblob(1000) FROM c; END"}},
        {"missing columns (refused)", {"CREATE TABLE FX (\"名字\" TEXT, \"圆脸\" INTEGER)"}},
        {"slow view beside (opens)",
         {"CREATE TABLE FX (" + columnsSql() + ")",
          "CREATE TABLE pad AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 200000) "
          "SELECT x FROM c",
          "CREATE VIEW slow AS SELECT count(*) FROM pad a, pad b"}},
    };
    for (const Case& c : cases) {
        test::LibraryStudio st;
        execute(st.dbPath(), c.sql);
        st.components("faxing", {"dz1.tta"}, 380, 480);
        const qint64 sizeBefore = QFileInfo(st.dbPath()).size();
        const test::ChildEnd end = test::runInChild(
            [&] {
                SuitabilityLink link(st.dbPath());
                LibraryBrowser hair(st.s, LibraryKind::Hairstyles, &link);
                hair.open();
                const LibraryApplied applied = hair.apply(0);
                return applied.done && st.s.doc.design.faxingname.endsWith("dz1.tta");
            },
            20, 64 * 1024 * 1024);  // should a trigger run after all, it cannot fill the disk
        EXPECT_EQ(end, test::ChildEnd::Passed) << c.what;
        EXPECT_LE(QFileInfo(st.dbPath()).size(), sizeBefore + 64 * 1024) << c.what;
        HairstyleDatabase db(st.dbPath());
        const Status opened = db.open();
        if (QString(c.what).contains("opens")) {
            // The table is sound: triggers do not fire and the view beside it is never asked.
            EXPECT_TRUE(opened) << c.what << ": " << opened.message.toStdString();
            continue;
        }
        EXPECT_FALSE(opened) << c.what;
        EXPECT_TRUE(opened.message.contains("FX") || opened.message.contains("已损坏"))
            << opened.message.toStdString();
        SuitabilityLink link(st.dbPath());
        EXPECT_FALSE(link.bind("dz1.tta")) << c.what;
        EXPECT_FALSE(link.isBound()) << c.what;
    }
}

// A statement that runs too long is stopped and reported instead of freezing the studio (here
// with a limit of 1 ms, so that a look-up without an index certainly runs over it).
TEST(HairstyleDatabase, LongStatementsAreStopped) {
    test::LibraryStudio st;
    execute(st.dbPath(),
            {"CREATE TABLE FX (" + columnsSql() + ")",
             "INSERT INTO FX (\"名字\") WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
             "LIMIT 300000) SELECT 'n' || x FROM c"});
    HairstyleDatabase db(st.dbPath(), HairstyleDatabase::Access::ReadWrite, std::chrono::milliseconds(1));
    ASSERT_TRUE(db.open());
    std::optional<HairstyleRecord> found;
    const Status looked = db.select("missing", found);
    EXPECT_EQ(looked.code, StatusCode::Damaged);
    EXPECT_TRUE(looked.message.contains("太久")) << looked.message.toStdString();
    // With room to finish, the same look-up answers: only the limit stopped it. (The room is wide,
    // so that a loaded test machine cannot make it run over.)
    HairstyleDatabase patient(st.dbPath(), HairstyleDatabase::Access::ReadWrite, std::chrono::seconds(60));
    ASSERT_TRUE(patient.open());
    EXPECT_TRUE(patient.select("n299999", found));
    EXPECT_TRUE(found.has_value());
}

// The client's face shape orders the hairstyle listing by the records: styles suiting it first, or
// alone with "只看适合脸型"; an oval or unknown face keeps the listing as it is.
TEST(HairstyleRecordLink, TheClientsFaceShapeOrdersTheHairstyles) {
    test::LibraryStudio st;
    ASSERT_TRUE(createHairstyleDatabase(
        st.dbPath(), {record("dz1.tta", {F::LongFace}), record("dz3.tta", {F::RoundFace, F::LongFace}),
                      record("dz4.tta", {F::RoundFace})}));
    for (int i = 1; i <= 4; ++i)
        st.folder.component(QStringLiteral("faxing/dz%1.tta").arg(i), 380, 480, 0xFF332211u);
    SuitabilityLink link(st.dbPath());
    LibraryBrowser hair(st.s, LibraryKind::Hairstyles, &link);
    auto listed = [&] {
        QStringList names;
        for (int i = 0; i < hair.pages().count(); ++i) names << QFileInfo(hair.pages().entry(i)).fileName();
        return names.join(u' ');
    };
    hair.open();
    EXPECT_EQ(listed(), "dz1.tta dz2.tta dz3.tta dz4.tta");
    st.s.session.clientFace.measured = FaceShape::Round;
    hair.relist();
    EXPECT_EQ(listed(), "dz3.tta dz4.tta dz1.tta dz2.tta");
    st.s.session.clientFace.chosen = FaceShape::Long;  // the stylist's choice counts over the measure
    st.s.session.library.onlySuitingFace = true;
    hair.relist();
    EXPECT_EQ(listed(), "dz1.tta dz3.tta");
    EXPECT_EQ(hair.pages().pageNumber(), 1);
    st.s.session.clientFace.chosen = FaceShape::Oval;
    hair.relist();
    EXPECT_EQ(listed(), "dz1.tta dz2.tta dz3.tta dz4.tta");
    EXPECT_FALSE(link.isBound());  // reading the records binds nothing
}
