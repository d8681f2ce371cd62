#include "quiz/Form2.h"

#include "app/Form1.h"
#include "platform/MapView.h"
#include "platform/Twips.h"
#include "quiz/QuizPlacement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kClockIntervalMs = 1000;

} // namespace

Form2::Form2(Form1& form1, Services& services, RandomSource& random)
    : QDialog(&form1, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_form1(form1)
    , m_services(services)
    , m_random(random) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("解答欄"));
    setModal(false);
    createControls();
}

Form2::~Form2() = default;

void Form2::createControls() {
    setFixedSize(Twips::toPixels(2070), Twips::toPixels(2640));

    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(Twips::rect(0, 0, 2055, 1695));

    const std::array<int, 3> labelTops = {120, 840, 1080};
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        auto* label = new QLabel(Picture2);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(Twips::rect(120, labelTops[i], 1815, 255));
        Label1[i] = label;
    }

    // First in the tab order: created before the button.
    Text1 = new QLineEdit(Picture2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Twips::rect(120, 480, 1815, 270));

    Label2 = new QLabel(Picture2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(Twips::rect(360, 1320, 255, 255));

    Command1 = new QPushButton(okCaption(), Picture2);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips::rect(840, 1320, 975, 255));
    // The default button: Enter in the answer entry presses it.
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setGeometry(Twips::rect(120, 1800, 1815, 735));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
}

// ---- The start of a quiz ----

void Form2::Form_Load() {
    if (m_running || m_session)
        return;
    m_closeAllowed = false;
    Timer1->start(kClockIntervalMs);
    const auto mode =
        m_form1.Menu3_NMode->isChecked() ? QuizSession::Mode::Normal : QuizSession::Mode::Practice;
    m_session = std::make_unique<QuizSession>(m_form1.questionTable().rows(), mode, m_random);

    m_form1.Menu2_Mode->menuAction()->setEnabled(false);
    m_form1.Menu2_Open->setEnabled(false);
    m_form1.Menu2_Start->setEnabled(false);
    m_form1.Menu2_FileEdit->setEnabled(false);
    m_form1.Menu2_Stop->setEnabled(true);
    m_running = true;

    if (m_form1.questionTable().isEmpty()) {
        // Nothing to ask (the start sequence never opens the window so): end quietly.
        ForStop();
        return;
    }
    QuestionLoop();
}

// ---- Asking and judging ----

void Form2::Command1_Click() {
    if (!m_running)
        return;
    if (Command1->text() == okCaption())
        CheckAnswer();
    else
        QuestionLoop();
}

void Form2::QuestionLoop() {
    if (!m_running)
        return;
    if (!m_session->advance()) {
        Ending();
        return;
    }
    const Point& point = m_session->currentPoint();
    MapView* map = m_form1.Picture1;
    if (const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point)) {
        map->placeMarker(*topLeft);
        moveOffMarker(*topLeft);
        map->setMarkerVisible(true);
    } else {
        // A point without numeric coordinates cannot be marked; it is asked all the same.
        map->setMarkerVisible(false);
    }
    Label1[0]->setText(point[ColumnHint]);
    Text1->clear();
    Label1[1]->hide();
    Label1[2]->hide();
    Label3->clear();
    Label2->clear();
    Command1->setText(okCaption());
    // Whatever was clicked last, typing goes to the answer entry.
    Text1->setFocus();
    m_form1.panelMain()->setText(m_session->progressText());
}

void Form2::moveOffMarker(const QPointF& markerTopLeft) {
    // The marker's span on the screen, from the real mapping of the map view.
    MapView* map = m_form1.Picture1;
    const QPointF left = map->mapToGlobal(map->fromMap(markerTopLeft));
    const QPointF right =
        map->mapToGlobal(map->fromMap(markerTopLeft + QPointF(QuizPlacement::kMarkerSize, 0)));
    const int markerX = static_cast<int>(std::floor(left.x()));
    const int markerWidth = static_cast<int>(std::ceil(right.x())) - markerX;

    QScreen* screen = m_form1.screen() ? m_form1.screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect frame = frameGeometry();
    const int newLeft =
        QuizPlacement::answerWindowLeft({frame.left(), frame.width()}, markerX, markerWidth,
                                        {available.left(), available.width()}, m_random);
    if (newLeft != frame.left())
        move(newLeft, pos().y()); // a window's position is its frame's: the top stays
}

void Form2::CheckAnswer() {
    if (!m_running || !m_session->hasQuestion())
        return;
    const Point& point = m_session->currentPoint();
    Label1[1]->setText(point[ColumnAnswer1]);
    Label1[2]->setText(point[ColumnAnswer2]);
    Label1[1]->show();
    Label1[2]->show();
    Label3->setText(point[ColumnInfo]);
    const bool right = m_session->judge(Text1->text());
    Label2->setText(QuizSession::mark(right));
    m_form1.panelMain()->setText(QuizSession::verdictStatus(right));
    Command1->setText(nextCaption());
}

// ---- The clock ----

void Form2::Timer1_Timer() {
    if (!m_session)
        return;
    m_session->tick();
    m_form1.panelTime()->setText(m_session->clockText());
}

// ---- The end ----

void Form2::Ending() {
    if (!m_running)
        return;
    m_running = false;
    closeWindow();
    m_session->finish();
    m_form1.panelMain()->setText(m_session->endingStatus());
    m_services.message(m_session->resultMessage(), QStringLiteral("終了"), MessageButtons::Ok,
                       MessageIcon::None);
    restoreMainWindow();
    deleteLater();
}

void Form2::ForStop() {
    if (!m_running)
        return;
    m_running = false;
    m_closeAllowed = true;
    m_form1.panelMain()->setText(m_session ? m_session->stopStatus() : QStringLiteral("0問"));
    restoreMainWindow();
    closeWindow();
    deleteLater();
}

void Form2::restoreMainWindow() {
    m_form1.Picture1->setMarkerVisible(false);
    m_form1.Menu2_Mode->menuAction()->setEnabled(true);
    m_form1.Menu2_Open->setEnabled(true);
    m_form1.Menu2_Start->setEnabled(true);
    m_form1.Menu2_FileEdit->setEnabled(true);
    m_form1.Menu2_Stop->setEnabled(false);
}

void Form2::closeWindow() {
    m_closeAllowed = true;
    Timer1->stop();
    close();
}

void Form2::closeEvent(QCloseEvent* event) {
    // Only the end of the quiz closes the window; the close box does nothing.
    if (!m_closeAllowed) {
        event->ignore();
        return;
    }
    Timer1->stop();
    QDialog::closeEvent(event);
}

void Form2::reject() {
    // Escape would close a dialog; this one closes only at the end of the quiz.
    if (m_closeAllowed)
        QDialog::reject();
}
