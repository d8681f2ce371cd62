#include "ui/editor/EditorControls.h"

#include "core/editor/EditorLayout.h"
#include "core/editor/EditorRules.h"
#include "core/editor/PointColumns.h"
#include "core/editor/PointTable.h"
#include "ui/platform/MapView.h"
#include "ui/platform/MapZoomMenu.h"

#include <QActionGroup>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QUndoStack>

#include <QVBoxLayout>
#include <limits>

namespace {

QString indexedName(const char* name, int index) {
    return QString::fromLatin1(name) + u'_' + QString::number(index);
}

// Where a box and its label lie, in twips; a label is one line (255 twips) high.
struct BoxPlacement {
    int column;
    int label; // the label's number in the design: Label1 (5) belongs to the Y box
    QRect box;
    QRect caption;
};

constexpr int kLabelHeight = 255;

const BoxPlacement kBoxes[] = {
    {ColumnX, 0, {120, 2880, 615, 270}, {120, 2640, 855, kLabelHeight}},
    {ColumnY, 5, {840, 2880, 615, 270}, {960, 2640, 495, kLabelHeight}},
    {ColumnHint, 1, {120, 3480, 1335, 270}, {120, 3240, 1215, kLabelHeight}},
    {ColumnAnswer1, 2, {120, 4080, 1335, 270}, {120, 3840, 1215, kLabelHeight}},
    {ColumnAnswer2, 3, {120, 4680, 1335, 270}, {120, 4440, 1215, kLabelHeight}},
    {ColumnInfo, 4, {120, 5280, 1335, 1215}, {120, 5040, 1215, kLabelHeight}},
};

QRect inPixels(const QRect& twips) {
    return Twips::rect(twips.x(), twips.y(), twips.width(), twips.height());
}

// The info box: Enter presses the window's commit button here too, as everywhere in the
// window; Ctrl+Enter types a line break.
class InfoBox : public QPlainTextEdit {
public:
    explicit InfoBox(QWidget* parent)
        : QPlainTextEdit(parent) {}

    void setEnterButton(QPushButton* button) { m_enterButton = button; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
            if (modifiers == Qt::ControlModifier) {
                insertPlainText(QStringLiteral("\n"));
                return;
            }
            if (modifiers == Qt::NoModifier && m_enterButton) {
                m_enterButton->click();
                return;
            }
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    QPointer<QPushButton> m_enterButton;
};

// The client area: lays the controls out when resized; moves over the bare window surface
// empty the coordinate panel, moves over a control that passes them on (a label) leave it.
class ClientWatcher : public QObject {
public:
    ClientWatcher(EditorControls& controls)
        : QObject(controls.client)
        , m_controls(controls) {
        controls.client->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            m_controls.arrange();
        } else if (event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (!m_controls.client->childAt(move->position().toPoint()))
                m_controls.positionPanel->clear();
        }
        return false;
    }

private:
    EditorControls& m_controls;
};

// Ctrl+Z in a box undoes the box's own typing while it has some; after that, and after the
// program filled the box (which empties its history), it reaches the editor's 元に戻す. Redoing
// goes the other way round: the editor's steps first, then the box's.
class BoxUndoGate : public QObject {
public:
    BoxUndoGate(EditorControls& controls)
        : QObject(controls.client)
        , m_controls(controls) {
        for (QLineEdit* box : controls.lineBoxes)
            box->installEventFilter(this);
        controls.infoBox->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        bool toEditor = false;
        if (key == m_controls.undoAction->shortcut())
            toEditor = !boxCanUndo(watched);
        else if (key == m_controls.redoAction->shortcut())
            toEditor = m_controls.redoAction->isEnabled();
        if (!toEditor)
            return false;
        event->ignore(); // not the box's: the shortcut goes to the menu item
        return true;
    }

private:
    static bool boxCanUndo(QObject* box) {
        if (const auto* line = qobject_cast<QLineEdit*>(box))
            return line->isUndoAvailable();
        const auto* text = qobject_cast<QPlainTextEdit*>(box);
        return text && text->document()->isUndoAvailable();
    }

    EditorControls& m_controls;
};

void showUndoItem(QAction* action, const QUndoStack& stack, bool redo) {
    const bool possible = redo ? stack.canRedo() : stack.canUndo();
    const QString step = redo ? stack.redoText() : stack.undoText();
    QString text = redo ? QStringLiteral("やり直し(&R)") : QStringLiteral("元に戻す(&U)");
    if (possible && !step.isEmpty())
        text += QStringLiteral(": ") + step;
    action->setText(text);
    action->setEnabled(possible);
}

} // namespace

EditorControls::EditorControls(QWidget* window, QAbstractItemModel* model) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("MenuBar"));
    layout->setMenuBar(menuBar);
    auto addMenu = [this](const char* name, const QString& title) {
        QMenu* menu = menuBar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [](QMenu* menu, const char* name, const QString& text,
                      const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        return action;
    };
    QMenu* file = addMenu("Menu1_File", QStringLiteral("ﾌｧｲﾙ(&F)"));
    newAction = addItem(file, "Menu2_New", QStringLiteral("新規(&N)"), Qt::CTRL | Qt::Key_N);
    openAction = addItem(file, "Menu2_Open", QStringLiteral("開く(&O)"), Qt::CTRL | Qt::Key_O);
    saveAction = addItem(file, "Menu2_Save", QStringLiteral("保存(&S)"), Qt::CTRL | Qt::Key_S);
    file->addSeparator();
    importCsvAction = addItem(file, "Menu2_ImportCsv", QStringLiteral("CSVﾌｧｲﾙの取り込み(&I)..."));
    exportCsvAction =
        addItem(file, "Menu2_ExportCsv", QStringLiteral("CSVﾌｧｲﾙへの書き出し(&E)..."));
    file->addSeparator();
    endAction = addItem(file, "Menu2_End", QStringLiteral("終了(&X)"));
    QMenu* edit = addMenu("Menu1_Edit", QStringLiteral("編集(&E)"));
    undoAction = addItem(edit, "Menu2_Undo", QString(), Qt::CTRL | Qt::Key_Z);
    redoAction = addItem(edit, "Menu2_Redo", QString(), Qt::CTRL | Qt::Key_Y);
    QMenu* map = addMenu("Menu1_Map", QStringLiteral("ﾏｯﾌﾟ(&M)"));
    mapOpenAction = addItem(map, "Menu2_MapOpen", QStringLiteral("ﾏｯﾌﾟを開く(&O)"));
    relativeMapAction = addItem(map, "Menu2_Path", QStringLiteral("相対ﾊﾟｽで指定(&L)"));
    QMenu* mode = addMenu("Menu1_Mode", QStringLiteral("ﾓｰﾄﾞ(&D)"));
    addModeAction = addItem(mode, "Menu2_AddMode", QStringLiteral("追加ﾓｰﾄﾞ(&A)"));
    editModeAction = addItem(mode, "Menu2_EditMode", QStringLiteral("編集ﾓｰﾄﾞ(&E)"));
    // Exclusive, so choosing the mode already in force keeps its check mark.
    auto* modes = new QActionGroup(window);
    modes->setExclusive(true);
    for (QAction* action : {addModeAction, editModeAction}) {
        action->setCheckable(true);
        modes->addAction(action);
    }
    addModeAction->setChecked(true);
    popup = new QMenu(QStringLiteral("PopUpMenu"), window);
    popup->setObjectName(QStringLiteral("PMenu1"));
    rowCountAction = addItem(popup, "PMenu_ListNum", QStringLiteral("項目数(&N)"));
    deleteAction = addItem(popup, "PMenu_Delete", QStringLiteral("削除(&D)"));

    client = new QWidget(window);
    client->setMouseTracking(true);
    layout->addWidget(client);
    table = new QListView(client);
    table->setObjectName(indexedName("List1", ColumnAnswer1));
    table->setModel(model);
    table->setModelColumn(ColumnAnswer1);
    table->setUniformItemSizes(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setGeometry(Twips::rect(120, 120, 1335, 2400));

    for (int column = 0; column < ColumnInfo; ++column) {
        lineBoxes[column] = new QLineEdit(client);
        lineBoxes[column]->setObjectName(indexedName("Text1", column));
        // A file may hold fields of any length: a box must not cut one (QLineEdit's default
        // limit is 32,767 characters).
        lineBoxes[column]->setMaxLength(std::numeric_limits<int>::max());
    }
    auto* info = new InfoBox(client);
    infoBox = info;
    infoBox->setObjectName(indexedName("Text1", ColumnInfo));
    infoBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    infoBox->setTabChangesFocus(true);

    // Each label leads to its box by its access key.
    for (const BoxPlacement& place : kBoxes) {
        QWidget* box =
            place.column == ColumnInfo ? static_cast<QWidget*>(infoBox) : lineBoxes[place.column];
        box->setGeometry(inPixels(place.box));
        auto* label = new QLabel(PointColumns::caption(place.column), client);
        label->setObjectName(indexedName("Label1", place.label));
        label->setBuddy(box);
        label->setGeometry(inPixels(place.caption));
        labels[place.label] = label;
    }

    mapView = new MapView(client);
    mapView->move(Twips::toPixels(EditorLayout::kMapLeft), Twips::toPixels(EditorLayout::kMapTop));
    zoomActions = MapZoomMenu::add(menuBar, mapView);
    QMenu* view = menuBar->findChild<QMenu*>(QStringLiteral("Menu1_View"));
    view->addSeparator();
    listAction = addItem(view, "Menu2_List", QStringLiteral("一覧(&L)"));

    commitButton = new QPushButton(QStringLiteral("追加(&A)"), client);
    commitButton->setObjectName(QStringLiteral("Command1"));
    commitButton->setDefault(true);
    info->setEnterButton(commitButton);
    commitButton->setGeometry(Twips::rect(360, 6600, 1095, 375));
    modeButton = new QPushButton(QStringLiteral("M"), client);
    modeButton->setObjectName(QStringLiteral("Command2"));
    modeButton->setAutoDefault(true);
    modeButton->setGeometry(Twips::rect(120, 6600, 255, 375));

    // One etched separator under the menu bar, drawn by two lines.
    const QColor lineColors[] = {client->palette().color(QPalette::Inactive, QPalette::Mid),
                                 client->palette().color(QPalette::Base)};
    for (int index = 0; index < 2; ++index) {
        auto* line = new QWidget(client);
        line->setObjectName(indexedName("Line1", index));
        line->setAutoFillBackground(true);
        QPalette linePalette = line->palette();
        linePalette.setColor(QPalette::Window, lineColors[index]);
        line->setPalette(linePalette);
        line->setGeometry(Twips::toPixels(EditorLayout::kLineX1), index, 1, 1);
        lines[index] = line;
    }

    QWidget::setTabOrder(table, lineBoxes[ColumnX]);
    for (int column = ColumnX; column < ColumnAnswer2; ++column)
        QWidget::setTabOrder(lineBoxes[column], lineBoxes[column + 1]);
    QWidget::setTabOrder(lineBoxes[ColumnAnswer2], infoBox);
    QWidget::setTabOrder(infoBox, commitButton);
    QWidget::setTabOrder(commitButton, modeButton);

    statusBar = new QStatusBar(client);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    auto addPanel = [this](const char* key, const QString& toolTip, int stretch) {
        auto* panel = new QLabel(statusBar);
        panel->setObjectName(QString::fromLatin1(key));
        panel->setToolTip(toolTip);
        // A long path must not widen the window: panels share the width, text is cut.
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        statusBar->addWidget(panel, stretch);
        return panel;
    };
    // Widths in the proportion of the design: about 5000, 5000 and 1440 twips.
    editingFilePanel = addPanel("EditingFile", QStringLiteral("編集中のﾌｧｲﾙ名"), 5000);
    mapNamePanel = addPanel("MapName", QStringLiteral("編集中のﾌｧｲﾙのﾏｯﾌﾟ名"), 5000);
    positionPanel = addPanel("Position", QString(), 1440);
    // The position is never cut at any width of the window: room for the largest coordinates
    // written in the font's widest digit, beside the label's own margins.
    const QFontMetrics metrics = positionPanel->fontMetrics();
    QChar widestDigit = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit)
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widestDigit))
            widestDigit = QChar(digit);
    const QString longest = MapView::positionText(QPointF(11111, 11111)).replace(u'1', widestDigit);
    const QMargins margins = positionPanel->contentsMargins();
    positionPanel->setMinimumWidth(metrics.horizontalAdvance(longest) + margins.left() +
                                   margins.right() + 2 * positionPanel->margin());
    new ClientWatcher(*this);
    new BoxUndoGate(*this);
}

QList<QAction*> EditorControls::commands() const {
    const QList<QAction*> own = {newAction,       openAction,        saveAction,    importCsvAction,
                                 exportCsvAction, endAction,         undoAction,    redoAction,
                                 mapOpenAction,   relativeMapAction, addModeAction, editModeAction,
                                 rowCountAction,  deleteAction,      listAction};
    return own + zoomActions;
}

void EditorControls::holdCommands(bool held, const QUndoStack& stack) {
    for (QAction* action : commands())
        action->setEnabled(!held);
    commitButton->setEnabled(!held);
    modeButton->setEnabled(!held);
    // Meanwhile the history is at most cleared, which left nothing to undo or redo.
    if (!held)
        showUndoState(stack);
}

void EditorControls::showUndoState(const QUndoStack& stack) {
    showUndoItem(undoAction, stack, false);
    showUndoItem(redoAction, stack, true);
}

void EditorControls::followHistory(const QUndoStack& stack) {
    // Each item is the context of its own connections, which so end with the item: the stack
    // reports its own clearing as it goes, after the controls.
    for (QAction* action : {undoAction, redoAction}) {
        const bool redo = action == redoAction;
        const auto show = [action, &stack, redo] {
            showUndoItem(action, stack, redo);
        };
        QObject::connect(&stack, &QUndoStack::indexChanged, action, show);
        QObject::connect(&stack, &QUndoStack::canRedoChanged, action, show);
        show();
    }
}

Point EditorControls::boxes() const {
    Point point;
    for (int column = 0; column < ColumnInfo; ++column)
        point[column] = lineBoxes[column]->text();
    point[ColumnInfo] = EditorRules::infoFromBox(infoBox->toPlainText());
    return point;
}

void EditorControls::setBoxes(const Point& point) {
    for (int column = 0; column < ColumnInfo; ++column)
        lineBoxes[column]->setText(point[column]);
    infoBox->setPlainText(EditorRules::infoToBox(point[ColumnInfo]));
}

void EditorControls::showChangedRow(const Point& point) {
    if (boxes() != point)
        setBoxes(point);
}

int EditorControls::listedRow() const {
    // The list selects single cells of its own column, never whole rows.
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? PointTable::kNoSelection : selected.first().row();
}

void EditorControls::selectListed(int row) {
    const QModelIndex index = table->model()->index(row, ColumnAnswer1);
    table->setCurrentIndex(index);
    table->scrollTo(index);
}

void EditorControls::arrange() {
    const int width = client->width();
    const int barHeight =
        std::max(Twips::toPixels(EditorLayout::kDesignHeight - EditorLayout::kDesignStatusBarTop),
                 statusBar->sizeHint().height());
    const int barTop = std::max(0, client->height() - barHeight);
    statusBar->setGeometry(0, barTop, width, barHeight);

    const EditorLayout::Arrangement arrangement =
        EditorLayout::arrange(Twips::fromPixels(width), Twips::fromPixels(barTop));
    mapView->resize(Twips::toPixels(arrangement.mapWidth), Twips::toPixels(arrangement.mapHeight));
    for (QWidget* line : lines)
        line->resize(Twips::toPixels(arrangement.lineX2) - Twips::toPixels(EditorLayout::kLineX1),
                     1);
}
