#include "ui/quiz/AnswerWindow.h"

#include "core/platform/Services.h"
#include "core/platform/Twips.h"
#include "core/quiz/QuizPlacement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kClockIntervalMs = 1000;
// The choice buttons stack from the entry's top, a button's height and a gap apart; the
// controls below move down by what they add.
constexpr int kChoiceStepTwips = 300;
constexpr int kChoiceGrowthTwips = Distractors::kChoices * kChoiceStepTwips - 300;

QString okCaption() {
    return QStringLiteral("&OK");
}

QString nextCaption() {
    return QStringLiteral("&Next");
}

} // namespace

AnswerWindow::AnswerWindow(const PointList& points, QuizMode mode, RandomSource& random,
                           Services& services, QWidget* parent, const PointStatsTable& record,
                           const JudgingOptions& judging)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_services(services)
    , m_random(random)
    , m_session(points, mode, random, record) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("解答欄"));
    setModal(false);
    m_session.setJudgingOptions(judging);
    createControls();
}

AnswerWindow::~AnswerWindow() = default;

void AnswerWindow::createControls() {
    setFixedSize(Twips::toPixels(2070), Twips::toPixels(2640));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Picture2"));
    panel->setGeometry(Twips::rect(0, 0, 2055, 1695));

    const std::array<int, 3> labelTops = {120, 840, 1080};
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        auto* label = new QLabel(panel);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(Twips::rect(120, labelTops[i], 1815, 255));
        m_labels[i] = label;
    }

    // First in the tab order: created before the button.
    m_answer = new QLineEdit(panel);
    m_answer->setObjectName(QStringLiteral("Text1"));
    m_answer->setGeometry(Twips::rect(120, 480, 1815, 270));

    m_distance = new QLabel(panel);
    m_distance->setObjectName(QStringLiteral("Label4"));
    m_distance->setTextFormat(Qt::PlainText);
    m_distance->setGeometry(m_answer->geometry());
    m_distance->hide();

    m_mark = new QLabel(panel);
    m_mark->setObjectName(QStringLiteral("Label2"));
    m_mark->setTextFormat(Qt::PlainText);
    m_mark->setAlignment(Qt::AlignCenter);
    m_mark->setGeometry(Twips::rect(360, 1320, 255, 255));

    m_okNext = new QPushButton(okCaption(), panel);
    m_okNext->setObjectName(QStringLiteral("Command1"));
    m_okNext->setGeometry(Twips::rect(840, 1320, 975, 255));
    // The default button: Enter in the answer entry presses it.
    m_okNext->setDefault(true);
    connect(m_okNext, &QPushButton::clicked, this, &AnswerWindow::okOrNext);

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("Label3"));
    m_info->setTextFormat(Qt::PlainText);
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_info->setGeometry(Twips::rect(120, 1800, 1815, 735));

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(kClockIntervalMs);
    connect(m_clock, &QTimer::timeout, this, &AnswerWindow::tick);
}

void AnswerWindow::setLocateOnMap(QSize mapSize) {
    if (m_started)
        return;
    m_session.setLocateOnMap(mapSize);
    m_answer->hide();
    m_distance->show();
}

void AnswerWindow::setOrder(std::unique_ptr<QuestionOrder> order) {
    if (!m_started)
        m_session.setOrder(std::move(order));
}

void AnswerWindow::setChoices(std::unique_ptr<Distractors> distractors) {
    if (m_started)
        return;
    m_session.setChoices(std::move(distractors));
    m_answer->hide();
    const int growth = Twips::toPixels(kChoiceGrowthTwips);
    for (QWidget* below :
         std::initializer_list<QWidget*>{m_labels[1], m_labels[2], m_mark, m_okNext, m_info})
        below->move(below->x(), below->y() + growth);
    QWidget* panel = m_answer->parentWidget();
    panel->resize(panel->width(), panel->height() + growth);
    setFixedSize(width(), height() + growth);
    for (int i = 0; i < Distractors::kChoices; ++i) {
        auto* button = new QPushButton(panel);
        button->setObjectName(QStringLiteral("Choice%1").arg(i + 1));
        button->setGeometry(
            m_answer->geometry().translated(0, Twips::toPixels(i * kChoiceStepTwips)));
        // Enter moves on through OK/Next, never through the button that has the focus.
        button->setAutoDefault(false);
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        m_choices[i] = button;
    }
}

void AnswerWindow::start() {
    if (m_started)
        return;
    m_started = true;
    m_running = true;
    m_clock->start();
    if (m_session.rowCount() == 0) {
        // Nothing to ask (the main window never starts a quiz so): end quietly.
        stop();
        return;
    }
    askNextQuestion();
}

void AnswerWindow::okOrNext() {
    if (!m_running)
        return;
    // The session says what the button does: a judged question moves on, a typed one is
    // judged; a press on the map answers a locate quiz.
    if (m_session.isJudged())
        askNextQuestion();
    else if (m_session.answerMethod() == AnswerMethod::Typing)
        checkAnswer();
}

void AnswerWindow::askNextQuestion() {
    if (!m_session.advance()) {
        complete();
        return;
    }
    const Point& point = m_session.currentPoint();
    const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
    // A point without numeric coordinates is asked all the same; a place to find is named,
    // not marked.
    if (topLeft && !isLocating())
        emit markerPlaced(*topLeft);
    else
        emit markerHidden();
    m_labels[0]->setText(point[ColumnHint]);
    // Answer 1 names the place to find; when typing, it is the answer and waits for the verdict.
    m_labels[1]->setText(isLocating() ? point[ColumnAnswer1] : QString());
    m_labels[1]->setVisible(isLocating());
    m_labels[2]->hide();
    m_answer->clear();
    m_distance->clear();
    m_info->clear();
    m_mark->clear();
    if (m_session.answerMethod() == AnswerMethod::Choice) {
        showChoices();
    } else if (isLocating()) {
        emit pressLineChanged(QLineF());
        // Nothing to confirm: the press on the map answers.
        m_okNext->setText(nextCaption());
        m_okNext->setEnabled(false);
    } else {
        m_okNext->setText(okCaption());
        // Whatever was clicked last, typing goes to the answer entry.
        m_answer->setFocus();
    }
    emit statusChanged(m_session.progressText());
}

void AnswerWindow::keepClearOf(int screenX, int width) {
    if (!isWindow())
        return; // set into another window beside the map, it keeps the place given there
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect frame = frameGeometry();
    const int left =
        QuizPlacement::answerWindowLeft({frame.left(), frame.width()}, screenX, width,
                                        {available.left(), available.width()}, m_random);
    if (left != frame.left())
        move(left, pos().y()); // a window's position is its frame's: the top stays
}

void AnswerWindow::checkAnswer() {
    if (!m_session.hasQuestion())
        return;
    showVerdict(m_session.judge(m_answer->text()));
}

void AnswerWindow::showChoices() {
    const QStringList& texts = m_session.choices();
    for (int i = 0; i < Distractors::kChoices; ++i) {
        QPushButton* button = m_choices[i];
        const QString text = texts.value(i);
        const QString caption = QString::number(i + 1) + QStringLiteral("  ") + text;
        // Long names are cut short on the button and shown whole in its tooltip; a "&" is
        // shown, not taken for a shortcut.
        button->setText(button->fontMetrics()
                            .elidedText(caption, Qt::ElideRight, button->width() - 8)
                            .replace(u'&', QStringLiteral("&&")));
        button->setToolTip(text);
        button->setChecked(false);
        button->setEnabled(true);
        button->setVisible(i < texts.size());
    }
    // Nothing to confirm: the choice answers.
    m_okNext->setText(nextCaption());
    m_okNext->setEnabled(false);
    setFocus();
}

void AnswerWindow::choose(int index) {
    const QStringList& texts = m_session.choices();
    if (!m_running || m_session.isJudged() || index >= texts.size())
        return;
    // The choice made stays checked; no other can be made.
    for (int i = 0; i < Distractors::kChoices; ++i) {
        m_choices[i]->setChecked(i == index);
        m_choices[i]->setEnabled(false);
    }
    showVerdict(m_session.judgeChoice(texts.at(index)));
    m_okNext->setEnabled(true);
    m_okNext->setFocus();
}

void AnswerWindow::keyPressEvent(QKeyEvent* event) {
    const int index = event->key() - Qt::Key_1;
    if (m_session.answerMethod() == AnswerMethod::Choice && index >= 0 &&
        index < Distractors::kChoices &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        choose(index);
        return;
    }
    QDialog::keyPressEvent(event);
}

void AnswerWindow::pressOnMap(QPointF mapPos) {
    if (!m_running)
        return;
    const std::optional<LocateVerdict> verdict = m_session.judgePress(mapPos);
    if (!verdict)
        return;
    m_distance->setText(QuizSession::distanceText(verdict->distance));
    showVerdict(verdict->correct);
    if (const std::optional<QPointF> place = m_session.currentPlace()) {
        emit markerPlaced(*QuizPlacement::markerTopLeft(m_session.currentPoint()));
        emit pressLineChanged(QLineF(mapPos, *place));
    }
    m_okNext->setEnabled(true);
    // The press went to the map's window; Enter now belongs to this one again.
    raise();
    activateWindow();
    m_okNext->setFocus();
}

void AnswerWindow::showVerdict(bool right) {
    const Point& point = m_session.currentPoint();
    m_labels[1]->setText(point[ColumnAnswer1]);
    m_labels[2]->setText(point[ColumnAnswer2]);
    m_labels[1]->show();
    m_labels[2]->show();
    m_info->setText(point[ColumnInfo]);
    m_mark->setText(QuizSession::mark(right));
    emit statusChanged(QuizSession::verdictStatus(right));
    m_okNext->setText(nextCaption());
    emit judged(m_session.judgedQuestions().constLast());
}

void AnswerWindow::tick() {
    m_session.tick();
    emit clockChanged(m_session.clockText());
}

void AnswerWindow::complete() {
    m_running = false;
    closeWindow();
    m_session.finish();
    emit statusChanged(m_session.endingStatus());
    m_services.message(m_session.resultMessage(), QStringLiteral("終了"), MessageButtons::Ok,
                       MessageIcon::None);
    emit completed(m_session.score());
}

void AnswerWindow::stop() {
    if (!m_running)
        return;
    m_running = false;
    m_closeAllowed = true;
    emit statusChanged(m_session.stopStatus());
    emit stopped(m_session.score());
    closeWindow();
}

void AnswerWindow::closeWindow() {
    m_closeAllowed = true;
    m_clock->stop();
    close();
}

void AnswerWindow::closeEvent(QCloseEvent* event) {
    // Only the end of the quiz closes the window; the close box does nothing.
    if (!m_closeAllowed) {
        event->ignore();
        return;
    }
    m_clock->stop();
    QDialog::closeEvent(event);
}

void AnswerWindow::reject() {
    // Escape would close a dialog; this one closes only at the end of the quiz.
    if (m_closeAllowed)
        QDialog::reject();
}
