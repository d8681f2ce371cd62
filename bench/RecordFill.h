#pragma once

// Fills a study record with many attempts at once for the benchmarks: the program makes the
// file, its tables and the file's row; then one transaction with prepared statements adds the
// points and the attempts (the way the program writes one question at a time would take hours).
#include "core/data/Point.h"
#include "core/record/StudyRecord.h"

#include <QDir>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <vector>

class RecordFill {
public:
    RecordFill(const QString& folder, const QString& questionFile, const PointList& points) {
        {
            StudyRecord record(folder);
            record.setQuestionFile(questionFile, points);
            record.record(points.at(0), Attempt());
        }
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
        m_db.setDatabaseName(QDir(folder).filePath(StudyRecord::fileName()));
        m_db.open();
        QSqlQuery query(m_db);
        query.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        query.exec(QStringLiteral("BEGIN"));
        query.exec(QStringLiteral("SELECT id FROM files"));
        query.next();
        const qint64 fileId = query.value(0).toLongLong();
        query.exec(QStringLiteral("DELETE FROM attempts"));
        query.prepare(QStringLiteral("INSERT INTO points (file_id, answer1, answer2, x, y)"
                                     " VALUES (?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
        for (const Point& p : points) {
            query.bindValue(0, fileId);
            query.bindValue(1, p[ColumnAnswer1]);
            query.bindValue(2, p[ColumnAnswer2]);
            query.bindValue(3, p[ColumnX]);
            query.bindValue(4, p[ColumnY]);
            query.exec();
        }
        QHash<QString, qint64> ids;
        query.exec(QStringLiteral("SELECT answer1, id FROM points"));
        while (query.next())
            ids.insert(query.value(0).toString(), query.value(1).toLongLong());
        for (const Point& p : points)
            m_idOfRow.push_back(ids.value(p[ColumnAnswer1]));
        m_attempt = QSqlQuery(m_db);
        m_attempt.prepare(QStringLiteral("INSERT INTO attempts (point_id, asked_at, typed,"
                                         " correct, seconds, mode, method)"
                                         " VALUES (?, ?, ?, ?, ?, 'Normal', 'Typed')"));
    }
    ~RecordFill() {
        m_attempt = QSqlQuery();
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName());
    }
    RecordFill(const RecordFill&) = delete;
    RecordFill& operator=(const RecordFill&) = delete;

    // An attempt at the point of table row `row`.
    void add(int row, qint64 whenMsecsUtc, const QString& typed, bool correct, double seconds) {
        m_attempt.bindValue(0, m_idOfRow[row]);
        m_attempt.bindValue(1, whenMsecsUtc);
        m_attempt.bindValue(2, typed);
        m_attempt.bindValue(3, correct ? 1 : 0);
        m_attempt.bindValue(4, seconds);
        m_attempt.exec();
    }

    // Runs a statement inside the fill's transaction, then commits with `done()`.
    void exec(const QString& sql) { QSqlQuery(m_db).exec(sql); }
    void done() { exec(QStringLiteral("COMMIT")); }

private:
    static QString connectionName() { return QStringLiteral("bench-fill"); }

    QSqlDatabase m_db;
    QSqlQuery m_attempt;
    std::vector<qint64> m_idOfRow;
};
