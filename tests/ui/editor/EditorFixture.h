#pragma once

// A shown editor window with scripted services, and short ways to its controls.
#include "ui/editor/EditorWindow.h"
#include "ui/platform/MapView.h"

#include "FakeServices.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class EditorFixture {
public:
    EditorFixture()
        : editor(std::make_unique<EditorWindow>(services)) {
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            qWarning("editor window not exposed");
    }

    template <class T> T* child(const QString& name) const {
        T* found = editor->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* box(int column) const {
        return child<QLineEdit>(QStringLiteral("Text1_%1").arg(column));
    }
    QPlainTextEdit* infoBox() const { return child<QPlainTextEdit>(QStringLiteral("Text1_5")); }
    // The one list: the answer-1 column of the model, which holds every column.
    QListView* list() const { return child<QListView>(QStringLiteral("List1_3")); }
    QString modelText(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }
    MapView* mapView() const { return child<MapView>(QStringLiteral("Picture1")); }
    QLabel* panel(const char* key) const { return child<QLabel>(QString::fromLatin1(key)); }
    QAction* action(const char* name) const { return child<QAction>(QString::fromLatin1(name)); }
    QPushButton* commitButton() const { return child<QPushButton>(QStringLiteral("Command1")); }
    QPushButton* modeButton() const { return child<QPushButton>(QStringLiteral("Command2")); }

    // The six boxes as the table would take them (the info box's breaks as CR LF).
    Point boxes() const {
        Point point;
        for (int column = 0; column < ColumnInfo; ++column)
            point[column] = box(column)->text();
        point[ColumnInfo] = infoBox()->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
        return point;
    }
    void setBoxes(const Point& point) const {
        for (int column = 0; column < ColumnInfo; ++column)
            box(column)->setText(point[column]);
        infoBox()->setPlainText(
            QString(point[ColumnInfo]).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    void add(const Point& point) const {
        setBoxes(point);
        commitButton()->click();
    }
    // Adds through the boxes and Command1 of any editor window.
    static void addTo(EditorWindow& editor, const Point& point) {
        for (int column = 0; column < ColumnInfo; ++column)
            editor.findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(column))
                ->setText(point[column]);
        editor.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    void selectRow(int row) const {
        QListView* view = list();
        view->setCurrentIndex(view->model()->index(row, ColumnAnswer1));
    }
    // Where a map pixel lies in the map view's viewport, which takes the view's mouse input.
    QPoint onMap(const QPointF& mapPos) const {
        return mapView()->transform().toView(mapPos).toPoint();
    }
    void pressMap(const QPoint& mapPos, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mousePress(mapView()->viewport(), button, {}, onMap(mapPos));
        QTest::mouseRelease(mapView()->viewport(), button, {}, onMap(mapPos));
    }
    // Saves through the Save command, which clears the unsaved-changes flag.
    void save(const QString& path) {
        services.answerFile(path);
        action("Menu2_Save")->trigger();
    }
    int rows() const { return editor->pointTable().rowCount(); }
    // Open and Save show the hourglass over the window while they run, and only then.
    bool isBusyCursor() const {
        return editor->testAttribute(Qt::WA_SetCursor) &&
               editor->cursor().shape() == Qt::WaitCursor;
    }
    bool modified() const { return editor->document().isModified(); }

    FakeServices services;
    std::unique_ptr<EditorWindow> editor;
    QTemporaryDir dir;
};

inline Point samplePoint(int n) {
    using TestFiles::u8;
    const QString s = QString::number(n);
    return {QString::number(10 + n), QString::number(20 + n), u8("ﾋﾝﾄ") + s,
            u8("答え") + s,          u8("別解") + s,          u8("情報") + s + u8("\r\n二行目")};
}
