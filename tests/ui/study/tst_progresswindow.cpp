#include "FakeServices.h"
#include "TestFiles.h"

#include "ui/study/ProgressCommand.h"

#include <QGraphicsView>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using TestFiles::u8;

class TestProgressWindow : public QObject {
    Q_OBJECT

private slots:
    void notice_data();
    void notice();
    void missingPlugin();
};

// The record of one point, answered at these minutes before now, read off the UI thread and
// shown by the plugin: a notice, or the charts when there are days enough to chart.
void TestProgressWindow::notice_data() {
    QTest::addColumn<QList<int>>("minutesAgo");
    QTest::addColumn<QString>("notice");

    QTest::newRow("no answers") << QList<int>{} << u8("まだ学習記録がありません。");
    QTest::newRow("one day") << QList<int>{0, 0}
                             << u8("記録が1日分だけです。2日以上学習するとｸﾞﾗﾌが表示されます。");
    QTest::newRow("two days: charts") << QList<int>{24 * 60, 0} << QString();
}

void TestProgressWindow::notice() {
    QFETCH(QList<int>, minutesAgo);
    QFETCH(QString, notice);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("q.zvm"));
    const PointList rows{TestFiles::point("10", "20", u8("北"), u8("札幌"))};
    const QDateTime now = QDateTime::currentDateTime();
    {
        StudyRecord record(dir.path());
        record.setQuestionFile(file, rows);
        for (int minutes : minutesAgo) {
            Attempt attempt;
            attempt.whenMsecsUtc = now.addSecs(-60 * minutes).toMSecsSinceEpoch();
            attempt.typed = u8("札幌");
            attempt.correct = true;
            QVERIFY(record.record(rows[0], attempt));
        }
    }

    FakeServices services;
    ProgressCommand command(services, nullptr, {QStringLiteral(ZAV_PROGRESS_PLUGIN_DIR)});
    QSignalSpy shown(&command, &ProgressCommand::shown);
    command.open({dir.path(), file, rows, 0.9, now});
    QTRY_COMPARE(shown.size(), 1);
    QWidget* window = command.window();
    QCOMPARE(window->windowTitle(), u8("学習の記録"));
    QVERIFY(window->isVisible());
    const auto* label = window->findChild<QLabel*>(QStringLiteral("Label_Notice"));
    QCOMPARE(label->isVisible() ? label->text() : QString(), notice);
    const QList<QGraphicsView*> charts = window->findChildren<QGraphicsView*>();
    QCOMPARE(charts.size(), 3);
    for (const QGraphicsView* chart : charts)
        QCOMPARE(chart->isVisible(), notice.isEmpty());
    QCOMPARE(services.messages.size(), 0);
    delete window;
}

void TestProgressWindow::missingPlugin() {
    QTemporaryDir empty;
    FakeServices services;
    ProgressCommand command(services, nullptr, {empty.path()});
    command.open({empty.path(), QString(), {}, 0.9, QDateTime::currentDateTime()});
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.lastMessage().text, ProgressCommand::missingMessage().text);
    QVERIFY(!command.window());
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
