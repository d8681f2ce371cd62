#include "core/quiz/Shuffle.h"

#include <utility>

void shuffleRows(PointList& rows, RandomSource& random, const std::function<void()>& yield,
                 int yieldEvery) {
    const int count = static_cast<int>(rows.size());
    if (count < 2)
        return;
    if (yieldEvery < 1)
        yieldEvery = 1;
    // Detach once, then swap through the raw array: QList would otherwise check sharing on
    // every access.
    Point* data = rows.data();
    int sinceYield = 0;
    for (int last = count - 1; last > 0; --last) {
        const int pick = randomIndex(random, last + 1);
        if (pick != last)
            std::swap(data[last], data[pick]);
        if (yield && ++sinceYield == yieldEvery) {
            sinceYield = 0;
            yield();
        }
    }
}
