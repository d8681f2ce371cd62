#include "core/quiz/Distractors.h"

#include "core/data/NumericText.h"
#include "core/quiz/Judging.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Cells on the longer side at most; the grid keeps about two points to a cell.
constexpr int kMaxCellsPerSide = 1024;
constexpr int kPointsPerCell = 2;
// Random rows drawn for the last tier before walking the pool in order.
constexpr int kRandomDraws = 32;

std::optional<QPointF> placeOf(const Point& point) {
    const std::optional<double> x = NumericText::toNumber(point[ColumnX]);
    const std::optional<double> y = NumericText::toNumber(point[ColumnY]);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
        return std::nullopt;
    return QPointF(*x, *y);
}

double squaredDistance(const QPointF& a, const QPointF& b) {
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

} // namespace

// The rows chosen so far and the keys no further row may have: the asked point's accepted
// answers and the texts already chosen.
class Distractors::Picker {
public:
    Picker(const Distractors& owner, QList<int> refused)
        : m_owner(owner)
        , m_takenKeys(std::move(refused)) {}

    bool isFull() const { return m_rows.size() == kChoices - 1; }
    int wanted() const { return kChoices - 1 - static_cast<int>(m_rows.size()); }
    bool accepts(int row) const {
        const int key = m_owner.m_rowKey.at(row);
        return key >= 0 && !m_takenKeys.contains(key);
    }
    bool take(int row) {
        if (isFull() || !accepts(row))
            return false;
        m_rows.append(row);
        m_takenKeys.append(m_owner.m_rowKey.at(row));
        return true;
    }
    const QList<int>& rows() const { return m_rows; }

private:
    const Distractors& m_owner;
    QList<int> m_takenKeys;
    QList<int> m_rows;
};

Distractors::Distractors(const PointList& pool, const JudgingOptions& options,
                         const WrongAnswers& confusions)
    : m_options(options)
    , m_index(pool, options) {
    m_texts.reserve(pool.size());
    m_rowKey.reserve(pool.size());
    for (int row = 0; row < pool.size(); ++row) {
        const Point& point = pool.at(row);
        m_texts.append(choiceText(point));
        const QString form = Judging::comparedForm(m_texts.constLast(), options);
        if (form.isEmpty()) {
            m_rowKey.append(-1);
        } else {
            auto key = m_keys.constFind(form);
            if (key == m_keys.cend())
                key = m_keys.insert(form, int(m_keys.size()));
            m_rowKey.append(*key);
        }
        if (!point[ColumnHint].isEmpty())
            m_hints[point[ColumnHint]].append(row);
        const std::optional<QPointF> place = placeOf(point);
        m_places.append(place.value_or(QPointF()));
        m_hasPlace.append(place.has_value());
    }
    buildGrid();

    for (auto point = confusions.cbegin(); point != confusions.cend(); ++point) {
        QList<Confused> list;
        for (auto given = point->cbegin(); given != point->cend(); ++given)
            addConfusions(list, given.key(), given.value());
        sortConfusions(list);
        if (!list.isEmpty())
            m_confused.insert(point.key(), std::move(list));
    }
}

MessageRequest Distractors::notOfferedMessage() {
    return MessageRequest::error(QStringLiteral("選択式には、答えの異なる地点が2つ以上必要です。"));
}

QString Distractors::choiceText(const Point& point) {
    return point[ColumnAnswer1].isEmpty() ? point[ColumnAnswer2] : point[ColumnAnswer1];
}

int Distractors::keyOf(const QString& text) const {
    const QString form = Judging::comparedForm(text, m_options);
    // -2 matches no row: a text no row is offered under refuses nothing.
    return form.isEmpty() ? -2 : m_keys.value(form, -2);
}

void Distractors::addConfusions(QList<Confused>& list, const QString& given, qint64 count) const {
    for (const int row : m_index.rowsAnsweredBy(given, -1)) {
        const auto known = std::find_if(list.begin(), list.end(),
                                        [row](const Confused& c) { return c.row == row; });
        if (known == list.end())
            list.append({row, count});
        else
            known->count += count;
    }
}

void Distractors::sortConfusions(QList<Confused>& list) {
    std::sort(list.begin(), list.end(), [](const Confused& a, const Confused& b) {
        return a.count != b.count ? a.count > b.count : a.row < b.row;
    });
}

void Distractors::noteWrongAnswer(const Point& asked, const QString& given) {
    QList<Confused>& list = m_confused[PointIdentity::of(asked)];
    addConfusions(list, given, 1);
    sortConfusions(list);
    if (list.isEmpty())
        m_confused.remove(PointIdentity::of(asked));
}

void Distractors::buildGrid() {
    double left = 0, top = 0, right = 0, bottom = 0;
    int count = 0;
    for (int row = 0; row < m_places.size(); ++row) {
        if (!m_hasPlace.at(row))
            continue;
        const QPointF p = m_places.at(row);
        if (count++ == 0) {
            left = right = p.x();
            top = bottom = p.y();
        }
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    if (count == 0)
        return;
    const double width = right - left;
    const double height = bottom - top;
    const double cells = std::max(1, count / kPointsPerCell);
    // Square cells of about the area each cell's share, never so small that a side would need
    // more than its limit of cells (points along a line).
    m_cell = std::max({std::sqrt(width * height / cells), width / (kMaxCellsPerSide - 1),
                       height / (kMaxCellsPerSide - 1), 1e-9});
    m_left = left;
    m_top = top;
    m_columns = std::min(kMaxCellsPerSide, int(width / m_cell) + 1);
    m_gridRows = std::min(kMaxCellsPerSide, int(height / m_cell) + 1);

    const auto cellOf = [this](const QPointF& p) {
        const int column = std::clamp(int((p.x() - m_left) / m_cell), 0, m_columns - 1);
        const int gridRow = std::clamp(int((p.y() - m_top) / m_cell), 0, m_gridRows - 1);
        return gridRow * m_columns + column;
    };
    m_cellStart.fill(0, m_columns * m_gridRows + 1);
    for (int row = 0; row < m_places.size(); ++row) {
        if (m_hasPlace.at(row))
            ++m_cellStart[cellOf(m_places.at(row)) + 1];
    }
    for (int cell = 0; cell < m_columns * m_gridRows; ++cell)
        m_cellStart[cell + 1] += m_cellStart[cell];
    m_cellMembers.resize(count);
    QList<int> next = m_cellStart;
    for (int row = 0; row < m_places.size(); ++row) {
        if (m_hasPlace.at(row))
            m_cellMembers[next[cellOf(m_places.at(row))]++] = row;
    }
}

QList<int> Distractors::nearestRows(const QPointF& place, const Picker& picker, int wanted) const {
    if (m_columns == 0 || wanted <= 0)
        return {};
    struct Candidate {
        double distance; // squared
        int row;
    };
    QList<Candidate> candidates;
    QList<int> nearest;
    const int column = std::clamp(int((place.x() - m_left) / m_cell), 0, m_columns - 1);
    const int gridRow = std::clamp(int((place.y() - m_top) / m_cell), 0, m_gridRows - 1);
    const int lastRing = std::max(m_columns, m_gridRows);
    // Rings of cells around the place's cell: after ring k every point not yet seen lies at
    // least k cells away, so the nearest found within that distance are final.
    for (int ring = 0; ring <= lastRing; ++ring) {
        for (int y = gridRow - ring; y <= gridRow + ring; ++y) {
            if (y < 0 || y >= m_gridRows)
                continue;
            const bool edge = y == gridRow - ring || y == gridRow + ring;
            for (int x = column - ring; x <= column + ring; x += edge ? 1 : 2 * std::max(ring, 1)) {
                if (x < 0 || x >= m_columns)
                    continue;
                const int cell = y * m_columns + x;
                for (int i = m_cellStart[cell]; i < m_cellStart[cell + 1]; ++i) {
                    const int row = m_cellMembers[i];
                    if (picker.accepts(row))
                        candidates.append({squaredDistance(place, m_places.at(row)), row});
                }
            }
        }
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return a.distance != b.distance ? a.distance < b.distance : a.row < b.row;
        });
        nearest.clear();
        QList<int> keys;
        for (const Candidate& c : candidates) {
            const int key = m_rowKey.at(c.row);
            if (keys.contains(key))
                continue;
            keys.append(key);
            nearest.append(c.row);
            if (nearest.size() == wanted)
                break;
        }
        const double reach = ring * m_cell;
        if (nearest.size() == wanted &&
            squaredDistance(place, m_places.at(nearest.constLast())) <= reach * reach)
            break;
    }
    return nearest;
}

QList<int> Distractors::sameHintRows(const QString& hint, const Picker& picker, int wanted,
                                     RandomSource& random) const {
    const auto group = m_hints.constFind(hint);
    if (hint.isEmpty() || group == m_hints.cend() || wanted <= 0)
        return {};
    // From a random member on, so a large group offers all its members in turn.
    const int size = static_cast<int>(group->size());
    const int start = randomIndex(random, size);
    QList<int> rows;
    QList<int> keys;
    for (int i = 0; i < size && rows.size() < wanted; ++i) {
        const int row = group->at((start + i) % size);
        if (!picker.accepts(row) || keys.contains(m_rowKey.at(row)))
            continue;
        keys.append(m_rowKey.at(row));
        rows.append(row);
    }
    return rows;
}

QList<int> Distractors::distractorRows(const Point& asked, RandomSource& random) const {
    Picker picker(*this, {keyOf(asked[ColumnAnswer1]), keyOf(asked[ColumnAnswer2])});

    const auto confused = m_confused.constFind(PointIdentity::of(asked));
    if (confused != m_confused.cend()) {
        for (const Confused& c : *confused)
            picker.take(c.row);
    }

    const int wanted = picker.wanted();
    const std::optional<QPointF> place = placeOf(asked);
    const QList<int> near = place ? nearestRows(*place, picker, wanted) : QList<int>();
    const QList<int> sameHint = sameHintRows(asked[ColumnHint], picker, wanted, random);
    for (int i = 0; i < wanted; ++i) {
        if (i < near.size())
            picker.take(near.at(i));
        if (i < sameHint.size())
            picker.take(sameHint.at(i));
    }

    const int count = static_cast<int>(m_texts.size());
    for (int draw = 0; draw < kRandomDraws && !picker.isFull() && count > 0; ++draw)
        picker.take(randomIndex(random, count));
    // Few rows left to offer: every one of them in turn, from a random one on.
    const int start = picker.isFull() || count == 0 ? 0 : randomIndex(random, count);
    for (int i = 0; i < count && !picker.isFull(); ++i)
        picker.take((start + i) % count);
    return picker.rows();
}

QStringList Distractors::choicesFor(const Point& asked, RandomSource& random) const {
    QStringList texts{choiceText(asked)};
    for (const int row : distractorRows(asked, random))
        texts.append(m_texts.at(row));
    // Fisher-Yates: the asked point's text is equally likely at every position.
    for (qsizetype i = texts.size() - 1; i > 0; --i)
        texts.swapItemsAt(i, randomIndex(random, int(i + 1)));
    return texts;
}
