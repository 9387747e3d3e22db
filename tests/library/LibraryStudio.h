#pragma once
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include "compositor/Composition.h"
#include "library/LibraryBrowser.h"
#include "platform/PictureFile.h"
#include "support/Fixtures.h"

namespace ms::test {

// A studio on a temporary program folder with a plain portrait and nothing else.
struct LibraryStudio {
    ProgramFolder folder;
    StudioState s;
    LibraryStudio() {
        EXPECT_TRUE(
            savePictureBmp(folder.file("ziyuan/huaban.bmp"), solidPicture(380, 480, QColor(90, 90, 90))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
    }
    // Small opaque components, one colour each; the colour's low byte numbers them.
    void components(const QString& sub, const QStringList& names, int w = 20, int h = 10) {
        int n = 0;
        for (const QString& name : names) folder.component(sub + '/' + name, w, h, 0xFF102000u | ++n);
    }
    QString dbPath() const { return folder.file("dova.mdb"); }
    bool snapshotExists(int n) const {
        return QFile::exists(folder.file(QString("temp/huifu%1.ini").arg(n)));
    }
};

inline QStringList fileNames(const QStringList& paths) {
    QStringList out;
    for (const QString& p : paths) out << p.section('/', -1);
    return out;
}

// Rows of table FX with this name, read through a connection of the test's own.
inline int recordsNamed(const QString& dbPath, const QString& name) {
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-count");
        db.setDatabaseName(dbPath);
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(QString::fromUtf8("SELECT COUNT(*) FROM FX WHERE \"名字\" = ?"));
            q.addBindValue(name);
            if (q.exec() && q.next()) n = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("test-count");
    return n;
}

}  // namespace ms::test
