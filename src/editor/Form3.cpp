#include "editor/Form3.h"

#include "data/MapImage.h"
#include "data/MapReference.h"
#include "data/NumericText.h"
#include "data/QuestionFile.h"
#include "editor/EditorLayout.h"
#include "platform/Files.h"
#include "platform/MapView.h"
#include "platform/MarkerBlink.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

using namespace EditorRules;
using EditorLayout::toPixels;

namespace {

// While a file is read or written the window is repainted this often, no more: letting events
// run after every one of 32,767 rows would cost more than the rows themselves.
constexpr int kPumpIntervalMs = 50;

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips::rect(left, top, width, height));
}

QString indexedName(const char* name, int index) {
    return QString::fromLatin1(name) + u'_' + QString::number(index);
}

int wholePixel(qreal coordinate) {
    return static_cast<int>(std::floor(coordinate));
}

} // namespace

// Hands the rows of a question file to the table in batches, so the lists take one insertion
// per repaint rather than one per row.
class Form3::ReadSink : public QuestionSink {
public:
    ReadSink(Form3& form, const QString& path)
        : m_form(form)
        , m_path(path) {}

    bool started() const { return m_started; }

    void readingStarted() override {
        m_started = true;
        m_form.openStarted(m_path);
    }
    int pointCount() const override {
        return m_form.m_model->rowCount() + static_cast<int>(m_pending.size());
    }
    void appendPoint(Point&& point) override { m_pending.append(std::move(point)); }
    void mapLoaded(const QImage& map, const QString& reference) override {
        m_form.openMapLoaded(map, reference);
    }
    AfterMapFailure mapFailed(ReadOutcome failure, const QString&) override {
        flush();
        m_form.showBox(
            error(failure == ReadOutcome::MapMissing ? Text::mapMissing() : Text::mapNotBitmap()));
        return AfterMapFailure::Continue;
    }
    void recordRead() override {
        if (!m_form.pumpDue())
            return;
        flush();
        m_form.letEventsRun();
    }

    void flush() {
        if (!m_pending.isEmpty())
            m_form.m_model->appendAll(std::move(m_pending));
        m_pending.clear();
    }

private:
    Form3& m_form;
    QString m_path;
    PointList m_pending;
    bool m_started = false;
};

// Open and Save hold the window for their whole run: the hourglass shows and every other
// command of the window waits.
class Form3::BusyScope {
public:
    explicit BusyScope(Form3& form)
        : m_form(form) {
        m_form.m_busy = true;
        m_form.m_pumpClock.start();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyScope() { end(); }
    void end() {
        if (!m_active)
            return;
        m_active = false;
        QGuiApplication::restoreOverrideCursor();
        m_form.m_busy = false;
    }

private:
    Form3& m_form;
    bool m_active = true;
};

Form3::Form3(Services& services, QWidget* parent)
    : QDialog(parent)
    , m_services(services)
    , m_model(new PointTableModel(this)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("ﾌｧｲﾙ編集"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    m_commonDialog1.filter = QStringLiteral("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm");
    m_commonDialog2.filter = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createMenus();
    layout->setMenuBar(m_menuBar);
    m_client = new QWidget(this);
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    layout->addWidget(m_client);
    createControls();
    createStatusBar();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(MarkerBlink::kIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &Form3::Timer1_Timer);
    m_timer->start();

    m_document.apply(EditorEvent::EditorOpened);
    resize(toPixels(EditorLayout::kDesignWidth),
           toPixels(EditorLayout::kDesignHeight) + m_menuBar->sizeHint().height());
}

Form3::~Form3() = default;

void Form3::createMenus() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MenuBar"));
    auto addMenu = [this](const char* name, const QString& title) {
        QMenu* menu = m_menuBar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const QString& text,
                          void (Form3::*handler)(), const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = addMenu("Menu1_File", QStringLiteral("ﾌｧｲﾙ(&F)"));
    addItem(file, "Menu2_New", QStringLiteral("新規(&N)"), &Form3::Menu2_New_Click,
            QKeySequence(Qt::CTRL | Qt::Key_N));
    addItem(file, "Menu2_Open", QStringLiteral("開く(&O)"), &Form3::Menu2_Open_Click,
            QKeySequence(Qt::CTRL | Qt::Key_O));
    addItem(file, "Menu2_Save", QStringLiteral("保存(&S)"), &Form3::Menu2_Save_Click,
            QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, "Menu2_End", QStringLiteral("終了(&X)"), &Form3::Menu2_End_Click);

    QMenu* map = addMenu("Menu1_Map", QStringLiteral("ﾏｯﾌﾟ(&M)"));
    addItem(map, "Menu2_MapOpen", QStringLiteral("ﾏｯﾌﾟを開く(&O)"), &Form3::Menu2_MapOpen_Click);
    addItem(map, "Menu2_Path", QStringLiteral("相対ﾊﾟｽで指定(&L)"), &Form3::Menu2_Path_Click);

    QMenu* mode = addMenu("Menu1_Mode", QStringLiteral("ﾓｰﾄﾞ(&D)"));
    m_addMode =
        addItem(mode, "Menu2_AddMode", QStringLiteral("追加ﾓｰﾄﾞ(&A)"), &Form3::Menu2_AddMode_Click);
    m_editMode = addItem(mode, "Menu2_EditMode", QStringLiteral("編集ﾓｰﾄﾞ(&E)"),
                         &Form3::Menu2_EditMode_Click);
    // Exclusive, so choosing the mode already in force keeps its check mark.
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    for (QAction* action : {m_addMode, m_editMode}) {
        action->setCheckable(true);
        modes->addAction(action);
    }
    m_addMode->setChecked(true);

    // The table's popup menu; never in the menu bar.
    m_popup = new QMenu(QStringLiteral("PopUpMenu"), this);
    m_popup->setObjectName(QStringLiteral("PMenu1"));
    addItem(m_popup, "PMenu_ListNum", QStringLiteral("項目数(&N)"), &Form3::PMenu_ListNum_Click);
    addItem(m_popup, "PMenu_Delete", QStringLiteral("削除(&D)"), &Form3::PMenu_Delete_Click);
}

void Form3::createControls() {
    for (int column = 0; column < kPointColumns; ++column) {
        auto* list = new QListView(m_client);
        list->setObjectName(indexedName("List1", column));
        list->setProperty("Tag", PointTableModel::columnTag(column));
        list->setModel(m_model);
        list->setModelColumn(column);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        if (column != ColumnAnswer1) {
            // Storage only: never shown, never focused.
            list->setFocusPolicy(Qt::NoFocus);
            list->hide();
        }
        m_lists[column] = list;
    }
    QListView* table = m_lists[ColumnAnswer1];
    placeTwips(table, 120, 120, 1335, 2400);
    table->setContextMenuPolicy(Qt::PreventContextMenu);
    table->viewport()->installEventFilter(this);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form3::List1_Click);

    for (int column = 0; column < ColumnInfo; ++column) {
        auto* box = new QLineEdit(m_client);
        box->setObjectName(indexedName("Text1", column));
        m_lineBoxes[column] = box;
    }
    m_infoBox = new QPlainTextEdit(m_client);
    m_infoBox->setObjectName(indexedName("Text1", ColumnInfo));
    m_infoBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_infoBox->setTabChangesFocus(true);
    m_infoBox->installEventFilter(this);
    connect(m_lineBoxes[ColumnX], &QLineEdit::textChanged, this, &Form3::Text1_Change);
    connect(m_lineBoxes[ColumnY], &QLineEdit::textChanged, this, &Form3::Text1_Change);

    placeTwips(m_lineBoxes[ColumnX], 120, 2880, 615, 270);
    placeTwips(m_lineBoxes[ColumnY], 840, 2880, 615, 270);
    placeTwips(m_lineBoxes[ColumnHint], 120, 3480, 1335, 270);
    placeTwips(m_lineBoxes[ColumnAnswer1], 120, 4080, 1335, 270);
    placeTwips(m_lineBoxes[ColumnAnswer2], 120, 4680, 1335, 270);
    placeTwips(m_infoBox, 120, 5280, 1335, 1215);

    // Label1(k) leads to its box by its access key; Label1(5) is the Y box's.
    struct LabelSpec {
        int index;
        const char16_t* caption;
        int box;
        int left, top, width;
    };
    const LabelSpec labels[] = {
        {0, u"座標 ( &X , ", ColumnX, 120, 2640, 855},
        {5, u"&Y ) ", ColumnY, 960, 2640, 495},
        {1, u"ﾋﾝﾄ(&H)", ColumnHint, 120, 3240, 1215},
        {2, u"答え1(&A)", ColumnAnswer1, 120, 3840, 1215},
        {3, u"答え2(&B)", ColumnAnswer2, 120, 4440, 1215},
        {4, u"情報(&I)", ColumnInfo, 120, 5040, 1215},
    };
    for (const LabelSpec& entry : labels) {
        auto* label = new QLabel(QString::fromUtf16(entry.caption), m_client);
        label->setObjectName(indexedName("Label1", entry.index));
        label->setBuddy(entry.box == ColumnInfo ? static_cast<QWidget*>(m_infoBox)
                                               : m_lineBoxes[entry.box]);
        placeTwips(label, entry.left, entry.top, entry.width, 255);
        m_labels[entry.index] = label;
    }

    m_picture = new MapView(m_client);
    m_picture->move(toPixels(EditorLayout::kMapLeft), toPixels(EditorLayout::kMapTop));
    connect(m_picture, &MapView::pressed, this,
            [this](QPointF mapPos, Qt::MouseButton) { Picture1_MouseDown(mapPos); });
    connect(m_picture, &MapView::pointerMoved, this, &Form3::Picture1_MouseMove);

    m_command1 = new QPushButton(QStringLiteral("追加(&A)"), m_client);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setDefault(true);
    placeTwips(m_command1, 360, 6600, 1095, 375);
    connect(m_command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    m_command2 = new QPushButton(QStringLiteral("M"), m_client);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setAutoDefault(true);
    placeTwips(m_command2, 120, 6600, 255, 375);
    connect(m_command2, &QPushButton::clicked, this, &Form3::Command2_Click);

    // One etched separator under the menu bar, drawn by two lines.
    const QColor lineColors[] = {palette().color(QPalette::Inactive, QPalette::Mid),
                                 palette().color(QPalette::Base)};
    for (int index = 0; index < 2; ++index) {
        auto* line = new QWidget(m_client);
        line->setObjectName(indexedName("Line1", index));
        line->setAutoFillBackground(true);
        QPalette linePalette = line->palette();
        linePalette.setColor(QPalette::Window, lineColors[index]);
        line->setPalette(linePalette);
        line->setGeometry(toPixels(EditorLayout::kLineX1), index, 1, 1);
        m_lines[index] = line;
    }

    setTabOrder(table, m_lineBoxes[ColumnX]);
    setTabOrder(m_lineBoxes[ColumnX], m_lineBoxes[ColumnY]);
    setTabOrder(m_lineBoxes[ColumnY], m_lineBoxes[ColumnHint]);
    setTabOrder(m_lineBoxes[ColumnHint], m_lineBoxes[ColumnAnswer1]);
    setTabOrder(m_lineBoxes[ColumnAnswer1], m_lineBoxes[ColumnAnswer2]);
    setTabOrder(m_lineBoxes[ColumnAnswer2], m_infoBox);
    setTabOrder(m_infoBox, m_command1);
    setTabOrder(m_command1, m_command2);
}

void Form3::createStatusBar() {
    m_statusBar = new QStatusBar(m_client);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    auto addPanel = [this](const char* key, const QString& toolTip, int stretch) {
        auto* panel = new QLabel(m_statusBar);
        panel->setObjectName(QString::fromLatin1(key));
        panel->setToolTip(toolTip);
        // A long path must not widen the window: panels share the width, text is cut.
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_statusBar->addWidget(panel, stretch);
        return panel;
    };
    // Widths in the proportion of the design: about 5000, 5000 and 1440 twips.
    m_editingFile = addPanel("EditingFile", QStringLiteral("編集中のﾌｧｲﾙ名"), 5000);
    m_mapName = addPanel("MapName", QStringLiteral("編集中のﾌｧｲﾙのﾏｯﾌﾟ名"), 5000);
    m_position = addPanel("Position", QString(), 1440);
}

// ---------------------------------------------------------------------------------------
// Window

void Form3::Form_Resize() {
    const int width = m_client->width();
    const int barHeight =
        std::max(toPixels(EditorLayout::kDesignHeight - EditorLayout::kDesignStatusBarTop),
                 m_statusBar->sizeHint().height());
    const int barTop = std::max(0, m_client->height() - barHeight);
    m_statusBar->setGeometry(0, barTop, width, barHeight);

    const EditorLayout::Arrangement arrangement =
        EditorLayout::arrange(EditorLayout::toTwips(width), EditorLayout::toTwips(barTop));
    m_picture->resize(toPixels(arrangement.mapWidth), toPixels(arrangement.mapHeight));
    for (QWidget* line : m_lines)
        line->resize(toPixels(arrangement.lineX2) - toPixels(EditorLayout::kLineX1), 1);
}

bool Form3::mayClose() {
    if (m_busy)
        return false;
    if (!m_document.isModified())
        return true;
    return showBox({Text::closeQuestion(), Text::closeTitle(), MessageButtons::YesNo,
                    MessageIcon::Question}) == MessageAnswer::Yes;
}

void Form3::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    QDialog::closeEvent(event);
    m_closing = false;
}

void Form3::reject() {
    // Every way out goes through the closing question.
    if (m_closing)
        QDialog::reject();
    else
        close();
}

void Form3::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel button: Escape does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client) {
        if (event->type() == QEvent::Resize) {
            Form_Resize();
        } else if (event->type() == QEvent::MouseMove) {
            // Moves over the bare window surface empty the coordinate panel; moves over a
            // control that passes them on (a label) leave it.
            const auto* move = static_cast<QMouseEvent*>(event);
            if (!m_client->childAt(move->position().toPoint()))
                m_position->clear();
        }
        return false;
    }
    if (watched == m_infoBox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if (modifiers == Qt::ControlModifier) {
                m_infoBox->insertPlainText(QStringLiteral("\n"));
                return true;
            }
            if (modifiers == Qt::NoModifier) {
                // Enter presses the default button here too, as everywhere in the window.
                m_command1->click();
                return true;
            }
        }
        return false;
    }
    if (watched == m_lists[ColumnAnswer1]->viewport() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick)) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            // The popup acts on the row selected before: a right press selects nothing.
            if (!m_busy && event->type() == QEvent::MouseButtonPress)
                m_popup->popup(press->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form3::Timer1_Timer() {
    MapMarker* marker = m_picture->marker();
    marker->setFillColor(MarkerBlink::next(marker->fillColor()));
}

void Form3::Picture1_MouseMove(QPointF mapPos) {
    m_position->setText(positionText(wholePixel(mapPos.x()), wholePixel(mapPos.y())));
}

void Form3::Menu2_End_Click() {
    close();
}

MessageAnswer Form3::showBox(const MessageRequest& request) {
    // A box that comes up while a file is read gets the ordinary pointer; the hourglass
    // returns when it closes.
    const bool busy = m_busy;
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    const MessageAnswer answer =
        m_services.message(request.text, request.title, request.buttons, request.icon);
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    return answer;
}

// ---------------------------------------------------------------------------------------
// Point editing

QString Form3::boxText(int column) const {
    if (column == ColumnInfo)
        return infoFromBox(m_infoBox->toPlainText());
    return m_lineBoxes[column]->text();
}

Point Form3::boxTexts() const {
    Point point;
    for (int column = 0; column < kPointColumns; ++column)
        point[column] = boxText(column);
    return point;
}

void Form3::setBoxTexts(const Point& point) {
    for (int column = 0; column < ColumnInfo; ++column)
        m_lineBoxes[column]->setText(point[column]);
    m_infoBox->setPlainText(infoToBox(point[ColumnInfo]));
}

void Form3::clearBoxes() {
    setBoxTexts(Point{});
}

void Form3::clearListSelection() {
    m_syncingSelection = true;
    QItemSelectionModel* selection = m_lists[ColumnAnswer1]->selectionModel();
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_syncingSelection = false;
    m_model->select(PointTable::kNoSelection);
}

void Form3::clearTable() {
    clearListSelection();
    m_model->clear();
}

void Form3::Text1_Change() {
    if (m_placing)
        return;
    const std::optional<double> x = NumericText::toNumber(m_lineBoxes[ColumnX]->text());
    const std::optional<double> y = NumericText::toNumber(m_lineBoxes[ColumnY]->text());
    if (!x || !y)
        return;
    m_picture->placeMarkerOnPoint(QPointF(*x, *y));
    m_picture->setMarkerVisible(true);
}

void Form3::Picture1_MouseDown(QPointF mapPos) {
    if (m_busy)
        return;
    const int x = wholePixel(mapPos.x());
    const int y = wholePixel(mapPos.y());
    m_picture->placeMarkerOnPoint(QPointF(x, y));
    // The marker is placed once, from the press, not again by the coordinate boxes.
    m_placing = true;
    m_lineBoxes[ColumnX]->setText(NumericText::format(x));
    m_lineBoxes[ColumnY]->setText(NumericText::format(y));
    m_placing = false;
    m_picture->setMarkerVisible(true);
    m_lineBoxes[ColumnAnswer1]->setFocus();
}

void Form3::List1_Click() {
    if (m_syncingSelection)
        return;
    // The list selects single cells of its own column, never whole rows.
    const QModelIndexList selected = m_lists[ColumnAnswer1]->selectionModel()->selectedIndexes();
    const int row = selected.isEmpty() ? PointTable::kNoSelection : selected.first().row();
    m_model->select(row);
    if (pointTable().hasSelection())
        setBoxTexts(pointTable().row(row));
}

void Form3::Command1_Click() {
    if (m_busy)
        return;
    const Point point = boxTexts();
    if (const std::optional<MessageRequest> refusal = checkPoint(m_mode, point, pointTable())) {
        showBox(*refusal);
        return;
    }
    if (m_mode == EditMode::Add) {
        m_model->append(point);
        clearBoxes();
        m_lineBoxes[ColumnAnswer1]->setFocus();
        m_document.apply(EditorEvent::RowAdded);
    } else {
        m_model->update(pointTable().selection(), point);
        m_lists[ColumnAnswer1]->setFocus();
        m_document.apply(EditorEvent::RowUpdated);
    }
}

void Form3::showModeChecks() {
    m_addMode->setChecked(m_mode == EditMode::Add);
    m_editMode->setChecked(m_mode == EditMode::Edit);
}

void Form3::setMode(EditMode mode) {
    m_mode = mode;
    const bool add = mode == EditMode::Add;
    showModeChecks();
    m_command1->setText(add ? QStringLiteral("追加(&A)") : QStringLiteral("更新(&R)"));
    if (add)
        m_lineBoxes[ColumnX]->setFocus();
    else
        m_lists[ColumnAnswer1]->setFocus();
    m_document.apply(EditorEvent::ModeSwitched);
}

void Form3::Command2_Click() {
    if (m_busy)
        return;
    setMode(m_mode == EditMode::Add ? EditMode::Edit : EditMode::Add);
}

void Form3::Menu2_AddMode_Click() {
    if (m_busy) {
        showModeChecks(); // the item checked itself; the mode has not changed
        return;
    }
    setMode(EditMode::Add);
}

void Form3::Menu2_EditMode_Click() {
    if (m_busy) {
        showModeChecks(); // the item checked itself; the mode has not changed
        return;
    }
    setMode(EditMode::Edit);
}

void Form3::PMenu_ListNum_Click() {
    if (m_busy)
        return;
    showBox(itemCount(pointTable().rowCount()));
}

void Form3::PMenu_Delete_Click() {
    if (m_busy || !pointTable().hasSelection())
        return;
    const int row = pointTable().selection();
    clearListSelection();
    m_model->remove(row);
    m_document.apply(EditorEvent::RowDeleted);
}

// ---------------------------------------------------------------------------------------
// File commands

bool Form3::mayDiscardChanges(const QString& title) {
    if (!m_document.isModified())
        return true;
    return showBox({Text::discardQuestion(), title, MessageButtons::YesNoDefaultNo,
                    MessageIcon::Question}) == MessageAnswer::Yes;
}

bool Form3::pumpDue() const {
    return !m_pumpClock.isValid() || m_pumpClock.elapsed() >= kPumpIntervalMs;
}

void Form3::letEventsRun() {
    // Repaints and timers only: commands the user gives meanwhile wait until the file is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_pumpClock.start();
}

void Form3::Menu2_New_Click() {
    if (m_busy || !mayDiscardChanges(Text::newTitle()))
        return;
    clearTable();
    clearBoxes();
    m_picture->setMarkerVisible(false);
    m_document.reset();
    m_editingFile->clear();
    m_mapName->clear();
    m_picture->clearMap();
    m_document.apply(EditorEvent::NewCompleted);
}

void Form3::openStarted(const QString& path) {
    // Opening shows that file alone, not that file after the rows of the last one.
    clearTable();
    clearBoxes();
    m_picture->setMarkerVisible(false);
    m_document.setMapReference(QString());
    m_mapName->clear();
    m_picture->clearMap();
    m_document.setEditingFileName(path);
    m_editingFile->setText(Text::opening());
}

void Form3::openMapLoaded(const QImage& map, const QString& reference) {
    m_picture->setMap(map);
    m_document.setMapReference(reference);
    m_mapName->setText(reference);
}

void Form3::Menu2_Open_Click() {
    if (m_busy || !mayDiscardChanges(Text::openTitle()))
        return;
    const QString path = m_services.openFileName(m_commonDialog1);
    if (path.isEmpty())
        return;
    BusyScope busy(*this);
    ReadSink sink(*this, path);
    const ReadOutcome outcome = QuestionFile::read(path, sink);
    sink.flush();
    busy.end();
    // A file that could not even be opened leaves the document as it was.
    if (!sink.started())
        return;
    switch (outcome) {
    case ReadOutcome::Success:
        m_editingFile->setText(m_document.editingFileName());
        m_document.apply(EditorEvent::FileOpened);
        break;
    case ReadOutcome::Malformed:
        m_editingFile->setText(Text::malformed());
        m_document.apply(EditorEvent::FileOpenIncomplete);
        showBox(error(Text::malformed()));
        break;
    case ReadOutcome::TooManyPoints:
        m_editingFile->setText(m_document.editingFileName());
        m_document.apply(EditorEvent::FileOpenIncomplete);
        showBox(tooManyPoints());
        break;
    default: // a read error: no message
        m_editingFile->setText(Text::malformed());
        m_document.apply(EditorEvent::FileOpenIncomplete);
        break;
    }
}

void Form3::Menu2_Save_Click() {
    if (m_busy)
        return;
    const QString path = m_services.saveFileName(m_commonDialog1);
    if (path.isEmpty())
        return;
    BusyScope busy(*this);
    m_editingFile->setText(Text::saving());
    const WriteResult result =
        QuestionFile::write(path, m_document.mapReference(), pointTable().rows(), [this] {
            if (pumpDue())
                letEventsRun();
        });
    if (result.ok()) {
        m_document.setEditingFileName(path);
        m_document.apply(EditorEvent::Saved);
    } else {
        m_document.apply(EditorEvent::SaveFailed);
    }
    m_editingFile->setText(m_document.editingFileName());
    busy.end();
    if (result.status == WriteResult::Status::UnstorableText)
        showBox(unstorableOnSave(result, m_document.mapReference(), pointTable().rows()));
    else if (result.status == WriteResult::Status::FileError)
        showBox(saveFailed(path, result.errorString));
}

bool Form3::loadMapFile(const QString& path, QImage& map) {
    // Readers accept no other map, so a map of any other name would only fail later.
    if (!MapImage::hasBitmapExtension(path)) {
        showBox(error(Text::mapNotBitmap()));
        return false;
    }
    std::optional<QImage> loaded = MapImage::load(path);
    if (!loaded) {
        showBox(mapNotLoadable(path));
        return false;
    }
    map = std::move(*loaded);
    return true;
}

void Form3::Menu2_MapOpen_Click() {
    if (m_busy)
        return;
    const QString path = m_services.openFileName(m_commonDialog2);
    if (path.isEmpty())
        return;
    QImage map;
    if (!loadMapFile(path, map))
        return;
    m_document.setMapReference(path);
    m_picture->setMap(map);
    m_mapName->setText(path);
    m_document.apply(EditorEvent::MapChosen);
}

void Form3::Menu2_Path_Click() {
    if (m_busy)
        return;
    if (!m_document.isNamed()) {
        showBox(error(Text::saveFirst(), Text::mapTitle()));
        return;
    }
    const QString folder = Files::parentFolder(m_document.editingFileName());
    const QString typed =
        m_services.inputBox(QStringLiteral("現在値=") + m_document.mapReference() +
                                QStringLiteral("\r現在のﾃﾞｨﾚｸﾄﾘ=") + folder,
                            Text::mapTitle());
    if (typed.isEmpty())
        return;
    const QString mapPath = MapReference::resolveInFolder(typed, folder);
    if (!Files::fileExists(mapPath)) {
        showBox(error(Text::fileNotFound()));
        return;
    }
    QImage map;
    if (!loadMapFile(mapPath, map))
        return;
    // Stored exactly as typed after "./", whatever separators it uses.
    m_document.setMapReference(MapReference::kRelativePrefix.toString() + typed);
    m_mapName->setText(m_document.mapReference());
    m_picture->setMap(map);
    m_document.apply(EditorEvent::RelativePathSet);
}
