// ﾌｧｲﾙ → ｻﾝﾌﾟﾙを開く through the main window: without samples the user is told so; with them
// the dialog lists them under their subject, a map picture arrives, and Enter opens the quiz.
#include "ui/app/MainWindow.h"
#include "ui/dialogs/SampleDialog.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using TestFiles::u8;

class TestSampleDialog : public QObject {
    Q_OBJECT
private slots:
    void openThroughTheMenu();
};

void TestSampleDialog::openThroughTheMenu() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The layout of an install, so that the data folder looked in lies inside the test's own.
    const QString own = dir.path() + QStringLiteral("/lib/zavmap/");
    QVERIFY(QDir().mkpath(own));
    FakeServices services;
    MainWindow window(services, own);
    QAction* item = Controls::action(&window, "Menu2_OpenSample");

    // A dialog that opens when it should not is closed at once, so the test goes on to fail.
    bool dialogShown = false;
    QTimer fuse;
    fuse.setSingleShot(true);
    connect(&fuse, &QTimer::timeout, &window, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialogShown = true;
            dialog->close();
        }
    });
    fuse.start(0);
    item->trigger();
    fuse.stop();
    QVERIFY(!dialogShown);
    QCOMPARE(services.messages.size(), 1);
    QVERIFY(services.lastMessage().text.startsWith(u8("ｻﾝﾌﾟﾙの問題ﾌｧｲﾙが見つかりません。")));

    const QString folder = own + u8("samples/日本/川/");
    const QString quiz = folder + u8("川.zvm");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(TestFiles::writeBmp(folder + QStringLiteral("map.bmp"), 120, 60));
    PointList points;
    for (const char* name : {"利根川", "信濃川", "石狩川"})
        points.append(
            TestFiles::point(QStringLiteral("10"), QStringLiteral("20"), QString(), u8(name)));
    QVERIFY(
        TestFiles::writeBytes(quiz, TestFiles::questionFile(QStringLiteral("./map.bmp"), points)));

    bool pictureArrived = false;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = qobject_cast<SampleDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("SampleDialog"));
        auto* list = Controls::find<QTreeWidget>(dialog, "List1");
        // Whatever goes wrong below, the dialog closes and the test goes on to report it.
        const auto close = qScopeGuard([&] {
            if (dialog->isVisible())
                dialog->reject();
        });
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), u8("日本")); // the subject's heading
        QTreeWidgetItem* entry = list->topLevelItem(1);
        QCOMPARE(entry->text(0), u8("川"));
        QCOMPARE(entry->text(1), QStringLiteral("3"));
        // An empty picture holds the place until the map's arrives.
        const auto shown = [entry] {
            const QSize size = entry->treeWidget()->iconSize();
            return entry->icon(0).pixmap(size).toImage().pixelColor(size.width() / 2,
                                                                    size.height() / 2);
        };
        QTRY_COMPARE(shown(), QColor(Qt::darkGreen));
        pictureArrived = true;
        QCOMPARE(list->currentItem(), entry);
        QTest::keyClick(list, Qt::Key_Return);
    });
    item->trigger();
    QVERIFY(pictureArrived);
    QCOMPARE(window.openDialog().fileName, quiz);
    QCOMPARE(window.questionTable().rowCount(), 3);
    QVERIFY(window.state().values().fileOpen);
    QCOMPARE(services.messages.size(), 1);
}

QTEST_MAIN(TestSampleDialog)
#include "tst_sampledialog.moc"
