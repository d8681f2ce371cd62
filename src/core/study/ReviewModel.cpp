#include "core/study/ReviewModel.h"

#include "core/quiz/QuizSession.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// What was answered: the typed text, or for a press on the map its distance from the point, as
// the quiz showed it.
QString answerText(const JudgedQuestion& q) {
    return q.method == AnswerMethod::Locate ? QuizSession::distanceText(q.distance) : q.typed;
}

bool isPress(const JudgedQuestion& q) {
    return q.method == AnswerMethod::Locate;
}

QString modeName(QuizMode mode) {
    switch (mode) {
    case QuizMode::Normal:
        break;
    case QuizMode::Practice:
        return QStringLiteral("練習ﾓｰﾄﾞ");
    case QuizMode::WeakFirst:
        return QStringLiteral("苦手優先ﾓｰﾄﾞ");
    case QuizMode::Review:
        return QStringLiteral("今日の復習ﾓｰﾄﾞ");
    }
    return QStringLiteral("通常ﾓｰﾄﾞ");
}

QString methodName(AnswerMethod method) {
    switch (method) {
    case AnswerMethod::Typing:
        break;
    case AnswerMethod::Locate:
        return QStringLiteral("地図で探す");
    case AnswerMethod::Choice:
        return QStringLiteral("選択式");
    }
    return QStringLiteral("入力");
}

} // namespace

QString ReviewModel::runText(const QuizRun& run, const std::optional<BestComparison>& comparison) {
    QString text = QStringLiteral("ﾀｲﾑ ") + QuizSession::clockText(run.seconds);
    if (!comparison)
        return text;
    text += QStringLiteral("　自己ﾍﾞｽﾄ(%1・%2) ").arg(modeName(run.mode), methodName(run.method));
    const std::optional<PersonalBest>& best = comparison->after;
    if (!best)
        return text + QStringLiteral("なし");
    text += QuizSession::scoreText(best->correct, best->asked);
    if (best->seconds)
        text += u' ' + QuizSession::clockText(*best->seconds);
    if (comparison->beaten())
        text += QStringLiteral("　自己ﾍﾞｽﾄ更新");
    return text;
}

ReviewModel::ReviewModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void ReviewModel::setQuestions(const QList<JudgedQuestion>& questions) {
    beginResetModel();
    m_questions = questions;
    m_right = std::count_if(m_questions.cbegin(), m_questions.cend(),
                            [](const JudgedQuestion& q) { return q.correct; });
    endResetModel();
}

QString ReviewModel::scoreText() const {
    return QuizSession::scoreText(m_right, m_questions.size());
}

PointList ReviewModel::missedPoints() const {
    // By number, so the asked order survives a sorted view.
    QList<const JudgedQuestion*> missed;
    for (const JudgedQuestion& question : m_questions) {
        if (!question.correct)
            missed.append(&question);
    }
    std::sort(missed.begin(), missed.end(), [](const JudgedQuestion* a, const JudgedQuestion* b) {
        return a->number < b->number;
    });
    PointList points;
    QSet<int> rows;
    for (const JudgedQuestion* question : std::as_const(missed)) {
        if (!rows.contains(question->row)) {
            rows.insert(question->row);
            points.append(question->point);
        }
    }
    return points;
}

int ReviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_questions.size());
}

int ReviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_questions.size())
        return {};
    const JudgedQuestion& q = m_questions.at(index.row());
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == Number || index.column() == Seconds)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (index.column() == Verdict)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Number:
        return QString::number(q.number);
    case Hint:
        return q.point[ColumnHint];
    case Typed:
        return answerText(q);
    case Answer1:
        return q.point[ColumnAnswer1];
    case Answer2:
        return q.point[ColumnAnswer2];
    case Verdict:
        return QuizSession::mark(q.correct);
    case Seconds:
        return QString::number(q.seconds, 'f', 1);
    default:
        return {};
    }
}

QVariant ReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return QStringLiteral("番号");
    case Hint:
        return QStringLiteral("ﾋﾝﾄ");
    case Typed:
        return QStringLiteral("入力");
    case Answer1:
        return QStringLiteral("答え1");
    case Answer2:
        return QStringLiteral("答え2");
    case Verdict:
        return QStringLiteral("正誤");
    case Seconds:
        return QStringLiteral("秒");
    default:
        return {};
    }
}

void ReviewModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    const auto text = [column](const JudgedQuestion& q) -> QString {
        switch (column) {
        case Hint:
            return q.point[ColumnHint];
        case Typed:
            return answerText(q);
        case Answer1:
            return q.point[ColumnAnswer1];
        default:
            return q.point[ColumnAnswer2];
        }
    };
    // Equal keys keep their asked order, in either direction.
    const auto less = [&](const JudgedQuestion& a, const JudgedQuestion& b) {
        int cmp = 0;
        switch (column) {
        case Number:
            cmp = (a.number > b.number) - (a.number < b.number);
            break;
        case Verdict:
            cmp = int(a.correct) - int(b.correct);
            break;
        case Seconds:
            cmp = (a.seconds > b.seconds) - (a.seconds < b.seconds);
            break;
        case Typed:
            if (isPress(a) && isPress(b)) {
                // Distances as numbers; a press for a point without a place after every one.
                const double da = a.distance.value_or(std::numeric_limits<double>::infinity());
                const double db = b.distance.value_or(std::numeric_limits<double>::infinity());
                cmp = (da > db) - (da < db);
                break;
            }
            cmp = text(a).compare(text(b));
            break;
        default:
            cmp = text(a).compare(text(b));
            break;
        }
        if (cmp == 0)
            return a.number < b.number;
        return order == Qt::AscendingOrder ? cmp < 0 : cmp > 0;
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<std::int64_t> numbers;
    numbers.reserve(before.size());
    for (const QModelIndex& index : before)
        numbers.append(m_questions.at(index.row()).number);
    std::stable_sort(m_questions.begin(), m_questions.end(), less);
    if (!before.isEmpty()) {
        // Numbers are unique: they find each remembered row again.
        QHash<std::int64_t, int> rowOf;
        for (int row = 0; row < m_questions.size(); ++row)
            rowOf.insert(m_questions.at(row).number, row);
        for (int i = 0; i < before.size(); ++i)
            changePersistentIndex(before.at(i),
                                  index(rowOf.value(numbers.at(i)), before.at(i).column()));
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
