// A second process for the study record's tests: opens the SQLite file named on the command
// line, takes its write lock (BEGIN EXCLUSIVE), says "locked" on standard output and holds the
// lock until its standard input closes.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
            std::fprintf(stderr, "cannot lock: %s\n",
                         qPrintable((db.isOpen() ? query.lastError() : db.lastError()).text()));
            status = 1;
        } else {
            std::printf("locked\n");
            std::fflush(stdout);
            while (std::getchar() != EOF) {
            }
            query.exec(QStringLiteral("ROLLBACK"));
        }
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    return status;
}
