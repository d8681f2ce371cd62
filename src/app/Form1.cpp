#include "app/Form1.h"

#include "app/HelpFile.h"
#include "app/MainLayout.h"
#include "app/Module1.h"
#include "app/StartupPlan.h"
#include "data/HistoryFile.h"
#include "data/NumericText.h"
#include "data/SettingsFile.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "editor/Form3.h"
#include "platform/MapView.h"
#include "platform/MarkerBlink.h"
#include "quiz/Form2.h"
#include "quiz/Shuffle.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace {

const QString kOpenFilter = QStringLiteral("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm");
const std::array<QString, 3> kPanelKeys = {
    QStringLiteral("Panel_Main"), QStringLiteral("Panel_Time"), QStringLiteral("Panel_Position")};

// How often a long read lets the window repaint. Often enough to look alive, rarely enough
// that the events cost nothing next to the reading itself.
constexpr qint64 kEventIntervalMs = 15;

} // namespace

// The status bar's panels, left to right, each as wide as its width in twips says. They are
// placed by hand rather than by a layout, so that panels wider than the bar are cut off instead
// of forcing a minimum size on the window.
class PanelStrip : public QWidget {
public:
    explicit PanelStrip(QWidget* parent)
        : QWidget(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        for (std::size_t i = 0; i < kPanelKeys.size(); ++i) {
            auto* label = new QLabel(this);
            label->setObjectName(kPanelKeys[i]);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setTextFormat(Qt::PlainText);
            labels[i] = label;
        }
        setMinimumHeight(labels[0]->sizeHint().height());
    }

    void placePanels() {
        int x = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const int width = MainLayout::toPixels(widths[i]);
            labels[i]->setGeometry(x, 0, width, height());
            x += width;
        }
    }

    std::array<QLabel*, 3> labels{};
    std::array<int, 3> widths{0, MainLayout::kPanelTimeWidth, MainLayout::kPanelPositionWidth};

protected:
    void resizeEvent(QResizeEvent*) override { placePanels(); }
};

Form1::Form1(Services& services, const QString& ownFolder, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_myPath(ownFolder) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZAV地図覚え"));
    m_commonDialog1.filter = kOpenFilter;

    createControls();
    createMenus();

    // Design client area below the menu bar; the status bar lies inside it.
    resize(MainLayout::toPixels(MainLayout::kClientWidth),
           MainLayout::toPixels(MainLayout::kClientHeight) + menuBar()->sizeHint().height());

    // The help file is looked up once, before the window is first shown.
    m_helpFile = HelpFile::find(m_myPath);
}

Form1::~Form1() = default;

void Form1::createControls() {
    using namespace MainLayout;
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1_Client"));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);

    // Two thin lines under the menu bar: a shadow and a light edge.
    const std::array<QPalette::ColorRole, 2> lineRoles = {QPalette::Mid, QPalette::Base};
    const std::array<int, 2> lineY = {kLine0Y, kLine1Y};
    for (std::size_t i = 0; i < Line1.size(); ++i) {
        auto* line = new QWidget(client);
        line->setObjectName(QStringLiteral("Line1_%1").arg(i));
        line->setAutoFillBackground(true);
        line->setBackgroundRole(lineRoles[i]);
        // A line takes no pointer events; moves over it reach the window, as on the background.
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setGeometry(toPixels(kLineX1), toPixels(lineY[i]), toPixels(kLineX2 - kLineX1), 1);
        Line1[i] = line;
        m_lineX2[i] = kLineX2;
    }

    Picture1 = new MapView(client);
    Picture1->setGeometry(toPixels(kMapLeft), toPixels(kMapTop), toPixels(kMapWidth),
                          toPixels(kMapHeight));
    connect(Picture1, &MapView::pointerMoved, this, &Form1::Picture1_MouseMove);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(MarkerBlink::kIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    // The frame resizes the window; a grip would hide the end of Panel_Position.
    StatusBar1->setSizeGripEnabled(false);
    m_panelStrip = new PanelStrip(StatusBar1);
    m_panels = m_panelStrip->labels;
    StatusBar1->addWidget(m_panelStrip, 1);
    setStatusBar(StatusBar1);
    panelMain()->setText(QStringLiteral("ﾌｧｲﾙを開いてください。"));
}

QAction* Form1::addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void Form1::createMenus() {
    auto addMenu = [](auto* owner, const char* name, const QString& caption) {
        QMenu* menu = owner->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    Menu1_File = addMenu(menuBar(), "Menu1_File", QStringLiteral("ﾌｧｲﾙ(&F)"));
    Menu2_Open = addItem(Menu1_File, "Menu2_Open", QStringLiteral("開く(&O)"));
    Menu2_Open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Menu2_Start = addItem(Menu1_File, "Menu2_Start", QStringLiteral("ｽﾀｰﾄ(&S)"));
    Menu2_Start->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Menu2_Stop = addItem(Menu1_File, "Menu2_Stop", QStringLiteral("中止(&T)"));
    Menu2_Stop->setEnabled(false);
    Menu2_End = addItem(Menu1_File, "Menu2_End", QStringLiteral("終了(&X)"));

    Menu1_Edit = addMenu(menuBar(), "Menu1_Edit", QStringLiteral("編集(&E)"));
    Menu2_Mode = addMenu(Menu1_Edit, "Menu2_Mode", QStringLiteral("ﾓｰﾄﾞ(&M)"));
    Menu3_PMode = addItem(Menu2_Mode, "Menu3_PMode", QStringLiteral("練習ﾓｰﾄﾞ(&P)"));
    Menu3_PMode->setCheckable(true);
    Menu3_NMode = addItem(Menu2_Mode, "Menu3_NMode", QStringLiteral("通常ﾓｰﾄﾞ(&N)"));
    Menu3_NMode->setCheckable(true);
    Menu3_NMode->setChecked(true);
    Menu2_FileEdit = addItem(Menu1_Edit, "Menu2_FileEdit", QStringLiteral("ﾌｧｲﾙ編集(&F)"));
    Menu2_Option = addItem(Menu1_Edit, "Menu2_Option", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));

    Menu1_Help = addMenu(menuBar(), "Menu1_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    Menu2_Help = addItem(Menu1_Help, "Menu2_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    Menu2_Version = addItem(Menu1_Help, "Menu2_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));

    connect(Menu2_Open, &QAction::triggered, this, &Form1::Menu2_Open_Click);
    connect(Menu2_Start, &QAction::triggered, this, &Form1::Menu2_Start_Click);
    connect(Menu2_Stop, &QAction::triggered, this, &Form1::Menu2_Stop_Click);
    connect(Menu2_End, &QAction::triggered, this, &Form1::Menu2_End_Click);
    connect(Menu3_PMode, &QAction::triggered, this, &Form1::Menu3_PMode_Click);
    connect(Menu3_NMode, &QAction::triggered, this, &Form1::Menu3_NMode_Click);
    connect(Menu2_FileEdit, &QAction::triggered, this, &Form1::Menu2_FileEdit_Click);
    connect(Menu2_Option, &QAction::triggered, this, &Form1::Menu2_Option_Click);
    connect(Menu2_Help, &QAction::triggered, this, &Form1::Menu2_Help_Click);
    connect(Menu2_Version, &QAction::triggered, this, &Form1::Menu2_Version_Click);
}

QLabel* Form1::panel(const QString& key) const {
    for (std::size_t i = 0; i < kPanelKeys.size(); ++i) {
        if (kPanelKeys[i] == key)
            return m_panels[i];
    }
    return nullptr;
}

int Form1::panelWidth(const QString& key) const {
    for (std::size_t i = 0; i < kPanelKeys.size(); ++i) {
        if (kPanelKeys[i] == key)
            return m_panelStrip->widths[i];
    }
    return 0;
}

void Form1::setPanelWidth(const QString& key, int twips) {
    if (twips < 0)
        return;
    for (std::size_t i = 0; i < kPanelKeys.size(); ++i) {
        if (kPanelKeys[i] == key)
            m_panelStrip->widths[i] = twips;
    }
    m_panelStrip->placePanels();
}

// ---- Layout and pointer ----

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The frame is known only once the window is shown.
    Form_Resize();
}

void Form1::Form_Resize() {
    using namespace MainLayout;
    const QRect frame = frameGeometry();
    const Assignments a = MainLayout::resize(toTwips(frame.width()), toTwips(frame.height()),
                                             panelWidth(kPanelKeys[2]));
    if (a.mapWidth)
        Picture1->resize(toPixels(*a.mapWidth), Picture1->height());
    if (a.mapHeight)
        Picture1->resize(Picture1->width(), toPixels(*a.mapHeight));
    m_lineX2 = {a.line0X2, a.line1X2};
    for (std::size_t i = 0; i < Line1.size(); ++i) {
        // A line runs between its two ends, whichever lies further left.
        const int left = std::min(kLineX1, m_lineX2[i]);
        const int right = std::max(kLineX1, m_lineX2[i]);
        Line1[i]->setGeometry(toPixels(left), Line1[i]->y(), toPixels(right - left), 1);
    }
    setPanelWidth(kPanelKeys[1], a.panelTimeWidth);
    if (a.panelMainWidth)
        setPanelWidth(kPanelKeys[0], *a.panelMainWidth);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        // Moves that a control left unhandled also arrive here; only the background counts.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!centralWidget()->childAt(move->position().toPoint()))
            Form_MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_MouseMove() {
    panelPosition()->setText(QString());
}

void Form1::Picture1_MouseMove(const QPointF& mapPos) {
    panelPosition()->setText(QStringLiteral("X=") + NumericText::format(mapPos.x()) +
                             QStringLiteral(" Y=") + NumericText::format(mapPos.y()));
}

void Form1::Timer1_Timer() {
    MapMarker* marker = Picture1->marker();
    marker->setFillColor(MarkerBlink::next(marker->fillColor()));
}

// ---- Menu commands ----

void Form1::Menu2_Open_Click() {
    if (m_reading)
        return;
    const QString path = m_services.openFileName(m_commonDialog1);
    if (path.isEmpty())
        return;
    loadQuestionFile(path, true);
}

void Form1::Menu2_Start_Click() {
    // The item stays enabled while the table is reordered; a second Start meanwhile is ignored.
    if (m_reading || m_starting || (m_form2 && m_form2->isRunning()))
        return;
    m_starting = true;
    panelMain()->setText(QStringLiteral("並び替えています..."));
    setCursor(Qt::WaitCursor);
    SSS();
    panelMain()->setText(QString());
    unsetCursor();
    m_starting = false;
    if (m_closeAfterRead) {
        // The window was asked to close while the rows moved: it closes now, without a quiz.
        m_closeAfterRead = false;
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (!m_table.isEmpty()) {
        auto* form2 = new Form2(*this, m_services, *m_random);
        m_form2 = form2;
        form2->show();
        form2->Form_Load();
    }
}

Form2* Form1::answerWindow() const {
    return m_form2;
}

void Form1::SSS() {
    m_random->reseed();
    if (m_table.isEmpty()) {
        m_services.message(
            QStringLiteral("ﾌｧｲﾙが開かれていないか、開いたﾌｧｲﾙにはﾎﾟｲﾝﾄが設定されていません。"),
            QStringLiteral("ｴﾗｰ"), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    // In place and linear; the window repaints and the marker blinks between batches of rows,
    // while the user's input waits until the answer window is open.
    shuffleRows(m_table.rows(), *m_random,
                [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    m_services.message(QStringLiteral("Good Luck!"), QStringLiteral("Go!"), MessageButtons::Ok,
                       MessageIcon::None);
}

void Form1::Menu2_Stop_Click() {
    if (!m_form2 || !m_form2->isRunning())
        return;
    hide();
    m_form2->hide();
    const MessageAnswer answer =
        m_services.message(QStringLiteral("中止しますか？"), QStringLiteral("確認"),
                           MessageButtons::YesNo, MessageIcon::Question);
    if (m_form2) {
        if (answer == MessageAnswer::Yes)
            m_form2->ForStop();
        else
            m_form2->show();
    }
    show();
}

void Form1::Menu2_End_Click() {
    close();
}

void Form1::Menu3_PMode_Click() {
    Menu3_PMode->setChecked(true);
    Menu3_NMode->setChecked(false);
}

void Form1::Menu3_NMode_Click() {
    Menu3_NMode->setChecked(true);
    Menu3_PMode->setChecked(false);
}

void Form1::Menu2_FileEdit_Click() {
    // A new editor each time, so every opening starts afresh; this window waits until it closes.
    Form3 editor(m_services, this);
    editor.exec();
}

void Form1::Menu2_Option_Click() {
    // A new dialog each time, so it starts from the current option; this window waits.
    Form5 options(this);
    options.exec();
}

void Form1::Menu2_Help_Click() {
    if (m_helpFile.isEmpty()) {
        // Without a help file there is nothing a viewer could show, so none is opened.
        m_services.message(
            QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙが見つかりません。") + u'\r' +
                QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙは、実行ﾌｧｲﾙと同じﾃﾞｨﾚｸﾄﾘにおいてください。"),
            QStringLiteral("ﾍﾙﾌﾟ"), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    m_services.showHelp(m_helpFile);
}

QString Form1::versionText() {
    return QStringLiteral("ZAV 地図覚え  Ver%1.%2").arg(ZAV_VERSION_MAJOR).arg(ZAV_VERSION_MINOR);
}

void Form1::Menu2_Version_Click() {
    m_services.message(versionText(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), MessageButtons::Ok,
                       MessageIcon::None);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The read still runs below us on the stack; the window closes once it has ended.
    if (m_reading || m_starting) {
        m_closeAfterRead = true;
        event->ignore();
        return;
    }
    Form_Unload();
    // The program ends now: other windows (a quiz's answer window) go without their own
    // closing steps, so a running quiz ends without a result.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            child->hide();
    }
    QMainWindow::closeEvent(event);
}

// ---- Start-up and exit ----

void Form1::Form_Load(const QString& commandLine) {
    if (m_loaded)
        return;
    m_loaded = true;
    // The help file was looked up when the window was made.
    HistoryFile::read(Files::joinPath(m_myPath, HistoryFile::fileName()), m_recentFiles);
    m_form4 = new Form4(m_recentFiles, Tag, this);

    StartupInputs inputs;
    inputs.history = m_recentFiles.entries();
    inputs.storedSetting =
        SettingsFile::readStoredValue(Files::joinPath(m_myPath, SettingsFile::fileName()));
    inputs.commandLine = commandLine;
    const StartupDecision decision = StartupPlan::decide(inputs, Module1::StartupOption, [this] {
        m_form4->exec();
        return Tag;
    });
    for (const MessageRequest& m : decision.messages)
        m_services.message(m.text, m.title, m.buttons, m.icon);

    if (!decision.startupPath.isEmpty() &&
        loadQuestionFile(decision.startupPath, false) == ReadOutcome::CannotOpen) {
        // At start-up a file that cannot be opened (a command line naming no file) is
        // reported like any other failed read.
        unsetCursor();
        panelMain()->setText(QStringLiteral("ｴﾗｰが発生しました。"));
    }
}

void Form1::Form_Unload() {
    // Only a window that read the files writes them back, once; a failure is reported on
    // standard error and never keeps the program from ending.
    if (!m_loaded || m_unloaded)
        return;
    m_unloaded = true;
    QString error;
    QStringList leftOut;
    const QString history = Files::joinPath(m_myPath, HistoryFile::fileName());
    if (!HistoryFile::write(history, m_recentFiles, &error, &leftOut))
        qWarning().noquote() << "Cannot write" << history << ":" << error;
    for (const QString& entry : leftOut)
        qWarning().noquote() << "Left out of" << history << ":" << HistoryFile::describeLeftOut(entry);
    const QString settings = Files::joinPath(m_myPath, SettingsFile::fileName());
    if (!SettingsFile::write(settings, Module1::StartupOption, &error))
        qWarning().noquote() << "Cannot write" << settings << ":" << error;
}

// ---- Reading a question file ----

ReadOutcome Form1::loadQuestionFile(const QString& path, bool rememberInDialog) {
    if (m_reading)
        return ReadOutcome::CannotOpen;
    m_reading = true;
    const ReadOutcome outcome = QuestionFile::read(path, *this);
    m_reading = false;
    releaseCommands();

    switch (outcome) {
    case ReadOutcome::CannotOpen:
        break;
    case ReadOutcome::Success:
        unsetCursor();
        if (rememberInDialog)
            m_commonDialog1.fileName = path;
        m_recentFiles.add(path);
        growToShowMap();
        panelMain()->setText(QStringLiteral("ｽﾀｰﾄして下さい。"));
        break;
    default:
        reportFailure(outcome);
        unsetCursor();
        panelMain()->setText(QStringLiteral("ｴﾗｰが発生しました。"));
        break;
    }

    if (m_closeAfterRead) {
        m_closeAfterRead = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
    return outcome;
}

void Form1::growToShowMap() {
    // A map larger than the view would show only its top-left corner: the window grows until
    // the whole map shows, as far as the screen allows. It never shrinks, and a maximized or
    // full-screen window stays as the user made it.
    if (isMaximized() || isFullScreen() || !Picture1->hasMap())
        return;
    const QSize missing =
        (Picture1->mapSize() - Picture1->contentsRect().size()).expandedTo(QSize(0, 0));
    if (missing.width() == 0 && missing.height() == 0)
        return;
    QSize target = size() + missing;
    const QScreen* screen = this->screen();
    if (!screen) {
        resize(target);
        return;
    }
    // Before the first show the frame is unknown; leave room for a typical one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 48);
    const QRect available = screen->availableGeometry();
    resize(target.boundedTo(available.size() - frame));
    if (isVisible()) {
        // Keep the grown window on the screen.
        const QSize outer = size() + frame;
        const int left = std::clamp(x(), available.left(), available.right() + 1 - outer.width());
        const int top = std::clamp(y(), available.top(), available.bottom() + 1 - outer.height());
        move(left, top);
    }
}

void Form1::reportFailure(ReadOutcome outcome) {
    QString text;
    switch (outcome) {
    case ReadOutcome::MapMissing:
        text = QStringLiteral("指定されているﾏｯﾌﾟは存在しません。");
        break;
    case ReadOutcome::MapNotBitmap:
        text = QStringLiteral("指定されているﾏｯﾌﾟは、ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません。");
        break;
    case ReadOutcome::Malformed:
        text = QStringLiteral("このﾌｧｲﾙは不正か、または壊れています。");
        break;
    case ReadOutcome::TooManyPoints:
        text = QStringLiteral("ﾎﾟｲﾝﾄが多すぎます。") + u'\r' +
               QStringLiteral("読み込めるﾎﾟｲﾝﾄは%1個までです。").arg(kMaxPoints);
        break;
    default:
        return; // a read error passes without a message
    }
    m_services.message(text, QStringLiteral("ｴﾗｰ"), MessageButtons::Ok, MessageIcon::Exclamation);
}

void Form1::holdCommands() {
    // Every menu command waits for the read to end: none may work on a half-read table.
    m_heldCommands.clear();
    for (QAction* action :
         {Menu2_Open, Menu2_Start, Menu2_Stop, Menu2_End, Menu2_Mode->menuAction(), Menu3_PMode,
          Menu3_NMode, Menu2_FileEdit, Menu2_Option, Menu2_Help, Menu2_Version}) {
        m_heldCommands.append({action, action->isEnabled()});
        action->setEnabled(false);
    }
    m_commandsHeld = true;
}

void Form1::releaseCommands() {
    if (!m_commandsHeld)
        return;
    for (const auto& [action, enabled] : m_heldCommands)
        action->setEnabled(enabled);
    m_heldCommands.clear();
    m_commandsHeld = false;
}

void Form1::readingStarted() {
    // A new file's points never join an earlier file's: they belong to another map.
    m_table.clear();
    holdCommands();
    setCursor(Qt::WaitCursor);
    panelMain()->setText(QStringLiteral("ﾌｧｲﾙを開いています..."));
    m_sinceEvents.invalidate();
}

void Form1::expectPoints(int count) {
    m_table.rows().reserve(count);
}

int Form1::pointCount() const {
    return m_table.rowCount();
}

void Form1::appendPoint(Point&& point) {
    m_table.appendRow(std::move(point));
}

void Form1::mapLoaded(const QImage& map, const QString&) {
    Picture1->setMap(map);
}

QuestionSink::AfterMapFailure Form1::mapFailed(ReadOutcome, const QString&) {
    return AfterMapFailure::Stop;
}

void Form1::recordRead() {
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventIntervalMs)
        return;
    // Repaint and run timers, but keep the user's input until the read has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.start();
}
