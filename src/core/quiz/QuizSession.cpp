#include "core/quiz/QuizSession.h"

#include "core/quiz/Distractors.h"
#include "core/quiz/QuestionOrder.h"
#include "core/quiz/WeakFirstDraw.h"

#include <QDateTime>

QuizSession::QuizSession(const PointList& rows, QuizMode mode, RandomSource& random,
                         const PointStatsTable& record)
    : m_rows(rows)
    , m_mode(mode)
    , m_random(random) {
    if (mode == QuizMode::WeakFirst)
        m_weakFirst = std::make_unique<WeakFirstDraw>(rows, record);
}

QuizSession::~QuizSession() = default;

void QuizSession::setOrder(std::unique_ptr<QuestionOrder> order) {
    m_order = std::move(order);
}

std::optional<int> QuizSession::nextRow() {
    const auto count = static_cast<int>(m_rows.size());
    if (count == 0)
        return std::nullopt;
    switch (m_mode) {
    case QuizMode::Normal:
        // Every row once, in table order.
        if (m_questionNo + 1 >= count)
            return std::nullopt;
        return static_cast<int>(m_questionNo + 1);
    case QuizMode::Practice:
        // Drawn with replacement, without end.
        return randomIndex(m_random, count);
    case QuizMode::WeakFirst:
        // By the record and this run's verdicts, without end.
        return m_weakFirst->next(m_random);
    case QuizMode::Review:
        // By the memory model, until nothing is due.
        return m_order ? m_order->next(QDateTime::currentMSecsSinceEpoch()) : std::nullopt;
    }
    return std::nullopt;
}

bool QuizSession::advance() {
    const std::optional<int> row = nextRow();
    if (!row)
        return false;
    ++m_questionNo;
    m_currentRow = *row;
    m_judged = false;
    m_lastVerdict = false;
    if (m_distractors)
        m_choices = m_distractors->choicesFor(currentPoint(), m_random);
    m_questionShown.start();
    return true;
}

bool QuizSession::judge(const QString& typed) {
    return judgeText(typed, AnswerMethod::Typing);
}

bool QuizSession::judgeChoice(const QString& chosen) {
    if (!m_distractors || m_judged || !hasQuestion())
        return m_lastVerdict;
    const bool right = judgeText(chosen, AnswerMethod::Choice);
    if (!right)
        m_distractors->noteWrongAnswer(currentPoint(), chosen);
    return right;
}

bool QuizSession::judgeText(const QString& text, AnswerMethod method) {
    if (m_judged || !hasQuestion())
        return m_lastVerdict;
    const Point& point = currentPoint();
    JudgedQuestion question;
    question.typed = text;
    question.method = method;
    question.correct =
        Judging::isCorrect(text, point[ColumnAnswer1], point[ColumnAnswer2], m_judgingOptions);
    return countVerdict(std::move(question));
}

void QuizSession::setLocateOnMap(QSize mapSize) {
    m_locate.emplace(m_rows, mapSize);
}

void QuizSession::setChoices(std::unique_ptr<Distractors> distractors) {
    m_distractors = std::move(distractors);
}

AnswerMethod QuizSession::answerMethod() const {
    if (m_locate)
        return AnswerMethod::Locate;
    return m_distractors ? AnswerMethod::Choice : AnswerMethod::Typing;
}

std::optional<LocateVerdict> QuizSession::judgePress(const QPointF& press) {
    if (!m_locate || m_judged || !hasQuestion() || !m_locate->isOnMap(press))
        return std::nullopt;
    const LocateVerdict verdict = m_locate->judge(m_currentRow, press);
    JudgedQuestion question;
    question.correct = verdict.correct;
    question.method = AnswerMethod::Locate;
    question.press = press;
    question.distance = verdict.distance;
    countVerdict(std::move(question));
    return verdict;
}

std::optional<QPointF> QuizSession::currentPlace() const {
    return m_locate && hasQuestion() ? m_locate->position(m_currentRow) : std::nullopt;
}

bool QuizSession::countVerdict(JudgedQuestion question) {
    m_lastVerdict = question.correct;
    m_judged = true;
    if (question.correct)
        ++m_correctNo;
    if (m_weakFirst)
        m_weakFirst->noteVerdict(m_currentRow, question.correct);
    question.number = m_questionNo + 1;
    question.row = m_currentRow;
    question.point = currentPoint();
    question.seconds = m_questionShown.nsecsElapsed() / 1e9;
    question.judgedAtMsecsUtc = QDateTime::currentMSecsSinceEpoch();
    if (m_order)
        m_order->noteVerdict(m_currentRow, question.correct, question.judgedAtMsecsUtc);
    question.mode = m_mode;
    m_judgedQuestions.append(std::move(question));
    return m_lastVerdict;
}

void QuizSession::finish() {
    ++m_questionNo;
    m_finished = true;
}

QuizScore QuizSession::score() const {
    if (m_finished)
        return {m_correctNo, m_questionNo};
    std::int64_t asked = m_questionNo < 0 ? 0 : m_questionNo;
    if (m_judged)
        ++asked;
    return {m_correctNo, asked};
}

QuizRun QuizSession::run() const {
    const QuizScore now = score();
    return {m_mode,    answerMethod(), now.correct, now.asked, m_elapsedMin * 60 + m_elapsedSec,
            m_finished};
}

QString QuizSession::progressText() const {
    const std::int64_t asked = m_questionNo < 0 ? 0 : m_questionNo;
    return QString::number(m_correctNo) + u'/' + QString::number(asked);
}

QString QuizSession::endingStatus() const {
    return statusWithDue(scoreText(m_correctNo, m_questionNo));
}

QString QuizSession::statusWithDue(QString score) const {
    if (m_mode == QuizMode::Review)
        score += QStringLiteral("　") + dueText(m_order ? m_order->remaining() : 0);
    return score;
}

QString QuizSession::resultMessage() const {
    return QString::number(m_questionNo) + QStringLiteral("問中 ") + QString::number(m_correctNo) +
           QStringLiteral("問正解\r\n") + percentText(m_correctNo, m_questionNo) + u'%';
}

QString QuizSession::stopStatus() const {
    const QuizScore counted = score();
    return statusWithDue(scoreText(counted.correct, counted.asked));
}

void QuizSession::tick() {
    ++m_elapsedSec;
    if (m_elapsedSec >= 60) {
        m_elapsedSec = 0;
        ++m_elapsedMin;
    }
}

QString QuizSession::clockText() const {
    return clockText(m_elapsedMin * 60 + m_elapsedSec);
}

QString QuizSession::clockText(std::int64_t seconds) {
    return QString::number(seconds / 60) + QStringLiteral("分") + QString::number(seconds % 60) +
           QStringLiteral("秒");
}

QString QuizSession::mark(bool correct) {
    return correct ? QStringLiteral("○") : QStringLiteral("×");
}

QString QuizSession::verdictStatus(bool correct) {
    return correct ? QStringLiteral("正解 !") : QStringLiteral("不正解");
}

QString QuizSession::distanceText(std::optional<double> distance) {
    if (!distance)
        return offMapText();
    return QStringLiteral("距離 ") + QString::number(*distance, 'f', 1) + QStringLiteral(" ﾋﾟｸｾﾙ");
}

QString QuizSession::percentText(std::int64_t correct, std::int64_t questions) {
    if (questions <= 0 || correct <= 0)
        return QStringLiteral("0");
    // Integer tenths: floating point would turn 29/100 into 28.9. The 128-bit product keeps
    // 1000 * c exact for any counter value.
    const auto tenths =
        static_cast<std::int64_t>(static_cast<__int128>(correct) * 1000 / questions);
    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += u'.' + QString::number(tenths % 10);
    return text;
}

QString QuizSession::scoreText(std::int64_t correct, std::int64_t questions) {
    if (questions == 0)
        return QStringLiteral("0問");
    return QString::number(correct) + u'/' + QString::number(questions) + QStringLiteral(" = ") +
           percentText(correct, questions) + u'%';
}

QString QuizSession::dueText(std::int64_t count) {
    return QStringLiteral("復習 ") + QString::number(count) + QStringLiteral("件");
}
