#pragma once

#include "data/Database.h"
#include "data/Schema.h"

#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <QtTest>
#include <sqlite3.h>

// A fresh database file in a temporary folder, with a plain SQLite connection (no dialect, as the stock shell
// has it) to set up rows and to look at what the program wrote.
class TempDatabase
{
public:
    TempDatabase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Dalvek.mdb"));
        Database::create(m_path);
    }
    ~TempDatabase() { close(); }

    const QString& path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

    sqlite3* raw()
    {
        if (!m_raw) {
            sqlite3_open_v2(m_path.toUtf8().constData(), &m_raw, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_busy_timeout(m_raw, 5000);
        }
        return m_raw;
    }
    void close()
    {
        sqlite3_close(m_raw);
        m_raw = nullptr;
    }

    // Runs a statement through the plain connection; returns SQLite's result code.
    int exec(const QString& sql) { return sqlite3_exec(raw(), sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

    // The rows of a query, each as its columns joined by "|" (null shows as "<null>").
    QStringList rows(const QString& sql)
    {
        QStringList result;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(raw(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(raw()))};
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList columns;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                columns << (sqlite3_column_type(stmt, c) == SQLITE_NULL
                                ? QStringLiteral("<null>")
                                : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))));
            }
            result << columns.join(QLatin1Char('|'));
        }
        sqlite3_finalize(stmt);
        return result;
    }

    int count(const QString& table) { return rows(QStringLiteral("SELECT count(*) FROM ") + table).value(0).toInt(); }

    // Adds a directory entry (empty texts where not given).
    void addTel(const QString& category, const QString& fname, const QString& lname,
                const QString& busName = QStringLiteral(" "), const QString& tel1 = QStringLiteral("___ - _______"),
                const QString& city = QString())
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(
            raw(),
            "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, "
            "Pel, Fax) VALUES (?, ?, ?, ?, '', ?, '', '_____', ?, '___ - _______', '___ - _______', "
            "'___ - _______')",
            -1, &stmt, nullptr);
        const QByteArray values[] = {category.toUtf8(), fname.toUtf8(), lname.toUtf8(),
                                     busName.toUtf8(),  city.toUtf8(),  tel1.toUtf8()};
        for (int i = 0; i < 6; ++i)
            sqlite3_bind_text(stmt, i + 1, values[i].constData(), int(values[i].size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(stmt), SQLITE_DONE);
        sqlite3_finalize(stmt);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    sqlite3* m_raw = nullptr;
};
