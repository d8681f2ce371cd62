// Undo and redo without a window: sequences of the editor's commands, with the rows, the map
// reference and the unsaved-changes flag checked after every step.
#include "core/editor/EditorDocument.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/PointTableModel.h"

#include "TestFiles.h"

#include <QTest>
#include <QUndoStack>

using TestFiles::u8;

class TestEditorHistory : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
    void mapPictureComesBack();
};

namespace {

// The editor as far as undo cares, driven by one-line commands as the window would run them.
struct Editor {
    PointTableModel model;
    EditorDocument document;
    EditorHistory history{model, document};

    static Point row(const QString& x, const QString& answer) {
        return TestFiles::point(x, u8("1"), u8("ﾋﾝﾄ"), answer);
    }

    void run(const QString& command) {
        const QStringList words = command.split(u' ', Qt::SkipEmptyParts);
        const QString& verb = words[0];
        if (verb == u"add") {
            QVERIFY(history.addRow(row(u8("1"), words[1])));
        } else if (verb == u"update") {
            QVERIFY(history.updateRow(words[1].toInt(), row(u8("1"), words[2])));
        } else if (verb == u"move") {
            QVERIFY(history.movePoint(words[1].toInt(), words[2], u8("1")));
        } else if (verb == u"delete") {
            QVERIFY(history.deleteRow(words[1].toInt()));
        } else if (verb == u"import") {
            PointList rows;
            for (const QString& answer : words.mid(1))
                rows.append(row(u8("1"), answer));
            QCOMPARE(history.appendRows(rows), rows.size());
        } else if (verb == u"map") {
            history.chooseMap({QImage(), words[1]});
        } else if (verb == u"relative") {
            history.nameMapRelatively({QImage(), u8("./") + words[1]});
        } else if (verb == u"save") {
            history.markSaved();
            document.apply(EditorEvent::Saved);
        } else if (verb == u"new") {
            history.clear();
            model.clear();
            document.reset();
            document.apply(EditorEvent::NewCompleted);
        } else if (verb == u"open") { // a file holding one row, read to its End record
            history.clear();
            model.clear();
            document.setMapReference(QString());
            model.append(row(u8("1"), words[1]));
            document.apply(EditorEvent::FileOpened);
        } else if (verb == u"undo") {
            history.stack().undo();
        } else if (verb == u"redo") {
            history.stack().redo();
        } else {
            QFAIL(qPrintable(u8("unknown command ") + command));
        }
    }

    // "x:answer1,x:answer1|map reference|flag"
    QString state() const {
        QStringList rows;
        for (const Point& p : model.table().rows())
            rows.append(p[ColumnX] + u':' + p[ColumnAnswer1]);
        return rows.join(u',') + u'|' + document.mapReference() + u'|' +
               (document.isModified() ? u'1' : u'0');
    }
};

} // namespace

void TestEditorHistory::sequences_data() {
    // Each step is "command = state afterwards", steps separated by ";".
    QTest::addColumn<QString>("steps");

    QTest::newRow("add, undo, redo") << u8("add A = 1:A||1; undo = ||0; redo = 1:A||1; undo = ||0");
    QTest::newRow("update and move, undone in turn")
        << u8("add A = 1:A||1; add B = 1:A,1:B||1; update 0 C = 1:C,1:B||1;"
              "move 1 7 = 1:C,7:B||1; undo = 1:C,1:B||1; undo = 1:A,1:B||1;"
              "redo = 1:C,1:B||1; redo = 1:C,7:B||1");
    QTest::newRow("a deleted row comes back in its place")
        << u8("add A = 1:A||1; add B = 1:A,1:B||1; add C = 1:A,1:B,1:C||1;"
              "delete 1 = 1:A,1:C||1; undo = 1:A,1:B,1:C||1; redo = 1:A,1:C||1");
    // Deleting and the relative map leave the flag; undoing them gives back the flag they found.
    QTest::newRow("delete after open, flag untouched")
        << u8("open F = 1:F||0; delete 0 = ||0; undo = 1:F||0; redo = ||0; add G = 1:G||1;"
              "undo = ||0; undo = 1:F||0");
    QTest::newRow("undo after save marks changed, redo to the saved state clears")
        << u8("add A = 1:A||1; save = 1:A||0; undo = ||1; redo = 1:A||0");
    QTest::newRow("after save, only the saved state is unchanged")
        << u8("open F = 1:F||0; add B = 1:F,1:B||1; save = 1:F,1:B||0; delete 0 = 1:B||0;"
              "undo = 1:F,1:B||0; redo = 1:B||1; undo = 1:F,1:B||0; undo = 1:F||1");
    QTest::newRow("the saved state replaced by a new step")
        << u8("add A = 1:A||1; save = 1:A||0; undo = ||1; add B = 1:B||1; undo = ||1;"
              "redo = 1:B||1");
    QTest::newRow("map and relative map")
        << u8("map M = |M|1; save = |M|0; relative R = |./R|0; undo = |M|0; undo = ||1;"
              "redo = |M|0; redo = |./R|1");
    QTest::newRow("an import is one step")
        << u8("add A = 1:A||1; import B C D = 1:A,1:B,1:C,1:D||1; undo = 1:A||1; undo = ||0;"
              "redo = 1:A||1; redo = 1:A,1:B,1:C,1:D||1");
    QTest::newRow("new clears the history")
        << u8("add A = 1:A||1; map M = 1:A|M|1; new = ||0; undo = ||0; redo = ||0");
    QTest::newRow("open clears the history")
        << u8("add A = 1:A||1; save = 1:A||0; open F = 1:F||0; undo = 1:F||0; add B = 1:F,1:B||1;"
              "undo = 1:F||0");
}

void TestEditorHistory::sequences() {
    QFETCH(QString, steps);
    Editor editor;
    for (const QString& step : steps.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = step.split(u'=');
        QCOMPARE(parts.size(), 2);
        editor.run(parts[0].trimmed());
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(editor.state() == parts[1].trimmed(),
                 qPrintable(u8("after ") + parts[0].trimmed() + u8(": ") + editor.state()));
    }
}

void TestEditorHistory::mapPictureComesBack() {
    Editor editor;
    QImage first(4, 3, QImage::Format_RGB32);
    first.fill(Qt::red);
    QImage second(5, 5, QImage::Format_RGB32);
    second.fill(Qt::blue);
    QList<QPair<QSize, QString>> shown;
    QObject::connect(&editor.history, &EditorHistory::mapChanged,
                     [&](const QImage& picture, const QString& reference) {
                         shown.append({picture.size(), reference});
                     });

    editor.history.setMapPicture(first); // as Open shows a map it reads
    editor.document.setMapReference(u8("/maps/a.bmp"));
    editor.history.chooseMap({second, u8("/maps/b.bmp")});
    editor.history.stack().undo();
    QCOMPARE(editor.history.mapPicture().size(), first.size());
    editor.history.stack().redo();
    QCOMPARE(editor.history.mapPicture().size(), second.size());
    const QList<QPair<QSize, QString>> expected = {{second.size(), u8("/maps/b.bmp")},
                                                   {first.size(), u8("/maps/a.bmp")},
                                                   {second.size(), u8("/maps/b.bmp")}};
    QCOMPARE(shown, expected);

    editor.history.clear(); // New: no picture to come back to
    QVERIFY(editor.history.mapPicture().isNull());
    QVERIFY(!editor.history.stack().canUndo());
}

QTEST_GUILESS_MAIN(TestEditorHistory)
#include "tst_editorhistory.moc"
