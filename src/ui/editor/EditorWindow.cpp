#include "ui/editor/EditorWindow.h"

#include "core/data/NumericText.h"
#include "core/data/TableSink.h"
#include "core/editor/CsvCommands.h"
#include "core/editor/EditorFiles.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/EditorLayout.h"
#include "core/editor/MapCommands.h"
#include "ui/editor/EditorControls.h"
#include "ui/editor/MapPoints.h"
#include "ui/editor/PointListWindow.h"
#include "ui/platform/LongOperation.h"
#include "ui/platform/MapView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoStack>

#include <cmath>

using namespace EditorRules;

namespace {

int wholePixel(qreal coordinate) {
    return static_cast<int>(std::floor(coordinate));
}

} // namespace

EditorWindow::EditorWindow(Services& services, QWidget* parent)
    : QDialog(parent)
    , m_services(services)
    , m_model(new PointTableModel(this))
    , m_history(new EditorHistory(*m_model, m_document, this))
    , m_csv(std::make_unique<CsvCommands>(services, *m_history, m_model->table()))
    , m_mapCommands(std::make_unique<MapCommands>(services, *m_history, m_document)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("ﾌｧｲﾙ編集"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    m_fileDialog.filter = QuestionFileText::filter();

    m_controls = std::make_unique<EditorControls>(this, m_model);
    m_mapPoints = new MapPoints(*m_history, *m_model, m_controls->mapView, this);
    wireControls();

    m_document.apply(EditorEvent::EditorOpened);
    resize(Twips::toPixels(EditorLayout::kDesignWidth),
           Twips::toPixels(EditorLayout::kDesignHeight) + m_controls->menuBar->sizeHint().height());
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::wireControls() {
    EditorControls& c = *m_controls;
    const auto onTrigger = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, handler);
    };
    onTrigger(c.newAction, &EditorWindow::newFile);
    onTrigger(c.openAction, &EditorWindow::openFile);
    onTrigger(c.saveAction, &EditorWindow::saveFile);
    onTrigger(c.endAction, &QWidget::close);
    onTrigger(c.importCsvAction, [this] { m_csv->importFile(); });
    onTrigger(c.exportCsvAction, [this] { m_csv->exportFile(); });
    onTrigger(c.undoAction, [this] { m_history->stack().undo(); });
    onTrigger(c.redoAction, [this] { m_history->stack().redo(); });
    onTrigger(c.mapOpenAction, [this] { m_mapCommands->chooseMap(); });
    onTrigger(c.relativeMapAction, [this] { m_mapCommands->nameMapRelatively(); });
    onTrigger(c.listAction, &EditorWindow::showList);
    onTrigger(c.addModeAction, [this] { setMode(EditMode::Add); });
    onTrigger(c.editModeAction, [this] { setMode(EditMode::Edit); });
    onTrigger(c.rowCountAction, &EditorWindow::showRowCount);
    onTrigger(c.deleteAction, &EditorWindow::deleteRow);
    c.table->setContextMenuPolicy(Qt::PreventContextMenu);
    c.table->viewport()->installEventFilter(this);
    connect(c.table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EditorWindow::followSelection);
    connect(c.lineBoxes[ColumnX], &QLineEdit::textChanged, this,
            &EditorWindow::followTypedCoordinates);
    connect(c.lineBoxes[ColumnY], &QLineEdit::textChanged, this,
            &EditorWindow::followTypedCoordinates);
    connect(c.mapView, &MapView::pressed, this,
            [this](QPointF mapPos, Qt::MouseButton) { placePoint(mapPos); });
    connect(c.mapView, &MapView::pointerMoved, this, &EditorWindow::showPointer);
    connect(c.commitButton, &QPushButton::clicked, this, &EditorWindow::commitBoxes);
    connect(c.modeButton, &QPushButton::clicked, this,
            [this] { setMode(m_mode == EditMode::Add ? EditMode::Edit : EditMode::Add); });
    c.followHistory(m_history->stack());
    connect(m_history, &EditorHistory::mapChanged, this, &EditorWindow::showMap);
    connect(m_mapPoints, &MapPoints::rowActivated, this,
            [this](int row) { m_controls->selectListed(row); });
    // A row changed by a move, an undo or a redo shows in the boxes when it is selected.
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                const int row = pointTable().selection();
                if (row >= from.row() && row <= to.row())
                    m_controls->showChangedRow(pointTable().row(row));
            });
    // Undo and redo may take away rows: the table's selection is the list's again.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this] { m_model->select(m_controls->listedRow()); });
}

std::unique_ptr<LongOperation> EditorWindow::holdCommands() {
    return std::make_unique<LongOperation>(
        *this, [this](bool held) { m_controls->holdCommands(held, m_history->stack()); });
}

// ---------------------------------------------------------------------------------------
// Window

void EditorWindow::closeEvent(QCloseEvent* event) {
    const bool mayClose =
        !isBusy() && (!m_document.isModified() ||
                      showBox({Text::closeQuestion(), Text::closeTitle(), MessageButtons::YesNo,
                               MessageIcon::Question}) == MessageAnswer::Yes);
    if (!mayClose) {
        event->ignore();
        return;
    }
    m_closing = true;
    QDialog::closeEvent(event);
    m_closing = false;
}

void EditorWindow::reject() {
    // Every way out goes through the closing question.
    if (m_closing)
        QDialog::reject();
    else
        close();
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel button: Escape does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_controls->table->viewport() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick)) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            // The popup acts on the row selected before: a right press selects nothing.
            if (!isBusy() && event->type() == QEvent::MouseButtonPress)
                m_controls->popup->popup(press->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditorWindow::showPointer(QPointF mapPos) {
    m_controls->positionPanel->setText(MapView::positionText(mapPos));
}

MessageAnswer EditorWindow::showBox(const MessageRequest& request) {
    // A box that comes up while a file is read gets the ordinary pointer.
    if (m_operation)
        return m_operation->withNormalCursor([&] { return m_services.message(request); });
    return m_services.message(request);
}

// ---------------------------------------------------------------------------------------
// Point editing

void EditorWindow::clearSelection() {
    m_syncingSelection = true;
    QItemSelectionModel* selection = m_controls->table->selectionModel();
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_syncingSelection = false;
    m_model->select(PointTable::kNoSelection);
}

void EditorWindow::clearTable() {
    clearSelection();
    m_model->clear();
}

void EditorWindow::followTypedCoordinates() {
    if (m_placing)
        return;
    const std::optional<double> x = NumericText::toNumber(m_controls->lineBoxes[ColumnX]->text());
    const std::optional<double> y = NumericText::toNumber(m_controls->lineBoxes[ColumnY]->text());
    if (!x || !y)
        return;
    m_controls->mapView->placeMarkerOnPoint(QPointF(*x, *y));
    m_controls->mapView->setMarkerVisible(true);
}

void EditorWindow::placePoint(QPointF mapPos) {
    if (isBusy())
        return;
    const int x = wholePixel(mapPos.x());
    const int y = wholePixel(mapPos.y());
    m_controls->mapView->placeMarkerOnPoint(QPointF(x, y));
    // The marker is placed once, from the press, not again by the coordinate boxes.
    m_placing = true;
    m_controls->lineBoxes[ColumnX]->setText(NumericText::format(x));
    m_controls->lineBoxes[ColumnY]->setText(NumericText::format(y));
    m_placing = false;
    m_controls->mapView->setMarkerVisible(true);
    m_controls->lineBoxes[ColumnAnswer1]->setFocus();
}

void EditorWindow::followSelection() {
    if (m_syncingSelection)
        return;
    const int row = m_controls->listedRow();
    m_model->select(row);
    if (!pointTable().hasSelection())
        return;
    const Point& point = pointTable().row(row);
    m_controls->setBoxes(point);
    // The marker went onto a point that may lie off the visible part of the map.
    if (NumericText::toNumber(point[ColumnX]) && NumericText::toNumber(point[ColumnY]))
        m_controls->mapView->followMarker();
}

void EditorWindow::commitBoxes() {
    const Point point = m_controls->boxes();
    if (const std::optional<MessageRequest> refusal = checkPoint(m_mode, point, pointTable())) {
        showBox(*refusal);
        return;
    }
    if (m_mode == EditMode::Add) {
        m_history->addRow(point);
        m_controls->setBoxes(Point{});
        m_controls->lineBoxes[ColumnAnswer1]->setFocus();
    } else {
        m_history->updateRow(pointTable().selection(), point);
        m_controls->table->setFocus();
    }
}

void EditorWindow::showList() {
    if (!m_list) {
        m_list = new PointListWindow(m_model, this);
        connect(m_list, &PointListWindow::rowActivated, this,
                [this](int row) { m_controls->selectListed(row); });
    }
    m_list->show();
    m_list->raise();
    m_list->activateWindow();
}

void EditorWindow::showModeChecks() {
    m_controls->addModeAction->setChecked(m_mode == EditMode::Add);
    m_controls->editModeAction->setChecked(m_mode == EditMode::Edit);
}

void EditorWindow::setMode(EditMode mode) {
    m_mode = mode;
    const bool add = mode == EditMode::Add;
    showModeChecks();
    m_controls->commitButton->setText(add ? QStringLiteral("追加(&A)")
                                          : QStringLiteral("更新(&R)"));
    if (add)
        m_controls->lineBoxes[ColumnX]->setFocus();
    else
        m_controls->table->setFocus();
    m_document.apply(EditorEvent::ModeSwitched);
}

void EditorWindow::showRowCount() {
    showBox(itemCount(pointTable().rowCount()));
}

void EditorWindow::deleteRow() {
    if (!pointTable().hasSelection())
        return;
    const int row = pointTable().selection();
    clearSelection();
    m_history->deleteRow(row);
}

// ---------------------------------------------------------------------------------------
// File commands

bool EditorWindow::mayDiscardChanges(const QString& title) {
    if (!m_document.isModified())
        return true;
    return showBox({Text::discardQuestion(), title, MessageButtons::YesNoDefaultNo,
                    MessageIcon::Question}) == MessageAnswer::Yes;
}

void EditorWindow::newFile() {
    if (!mayDiscardChanges(Text::newTitle()))
        return;
    m_mapPoints->cancelDrag();
    m_history->clear();
    clearTable();
    m_controls->setBoxes(Point{});
    m_controls->mapView->setMarkerVisible(false);
    m_document.reset();
    m_controls->editingFilePanel->clear();
    m_controls->mapNamePanel->clear();
    m_controls->mapView->clearMap();
    m_document.apply(EditorEvent::NewCompleted);
}

void EditorWindow::startOpening(const QString& path) {
    // Opening shows that file alone, not that file after the rows of the last one.
    m_mapPoints->cancelDrag();
    m_history->clear();
    clearTable();
    m_controls->setBoxes(Point{});
    m_controls->mapView->setMarkerVisible(false);
    m_document.setMapReference(QString());
    m_controls->mapNamePanel->clear();
    m_controls->mapView->clearMap();
    m_document.setEditingFileName(path);
    m_controls->editingFilePanel->setText(QuestionFileText::opening());
}

void EditorWindow::showMap(const QImage& map, const QString& reference) {
    if (map.isNull())
        m_controls->mapView->clearMap();
    else
        m_controls->mapView->setMap(map);
    m_history->setMapPicture(map);
    m_document.setMapReference(reference);
    m_controls->mapNamePanel->setText(reference);
}

void EditorWindow::openFile() {
    if (!mayDiscardChanges(Text::openTitle()))
        return;
    const QString path = m_services.openFileName(m_fileDialog);
    if (path.isEmpty())
        return;
    m_operation = holdCommands();
    // Rows go to the table in batches, so the list takes one insertion per repaint rather
    // than one per row.
    QuestionTable batch;
    TableSink sink(batch);
    auto handOn = [&] {
        m_model->appendAll(sink.takeRows());
    };
    sink.onStarted = [&] {
        startOpening(path);
    };
    sink.onMapLoaded = [this](const QImage& map, const QString& ref) {
        showMap(map, ref);
    };
    sink.onMapFailed = [&](ReadOutcome failure, const QString&) {
        handOn();
        showBox(EditorFiles::mapCheckFailed(failure));
        return QuestionSink::AfterMapFailure::Continue;
    };
    sink.onRecordRead = [&] {
        if (!m_operation->eventsDue())
            return;
        handOn();
        m_operation->letEventsRun();
    };
    const ReadOutcome outcome = QuestionFile::read(path, sink);
    handOn();
    m_operation.reset();
    // A file that could not even be opened leaves the document as it was.
    if (!sink.started())
        return;
    const EditorFiles::Report report = EditorFiles::finishOpen(m_document, outcome);
    m_controls->editingFilePanel->setText(report.editingFileText);
    if (report.message)
        showBox(*report.message);
}

void EditorWindow::saveFile() {
    const QString path = m_services.saveFileName(m_fileDialog);
    if (path.isEmpty())
        return;
    if (const std::optional<MessageRequest> question =
            EditorFiles::overwriteQuestion(m_document, path);
        question && showBox(*question) != MessageAnswer::Yes)
        return;
    m_operation = holdCommands();
    m_controls->editingFilePanel->setText(Text::saving());
    const WriteResult result =
        QuestionFile::write(path, m_document.mapReference(), pointTable().rows(),
                            [this] { m_operation->letEventsRun(); });
    const EditorFiles::Report report =
        EditorFiles::finishSave(m_document, path, result, pointTable().rows());
    if (result.status == WriteResult::Status::Ok)
        m_history->markSaved();
    m_controls->editingFilePanel->setText(report.editingFileText);
    m_operation.reset();
    if (report.message)
        showBox(*report.message);
}
