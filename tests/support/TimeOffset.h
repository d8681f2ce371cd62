#pragma once

#include <QRegularExpression>
#include <QString>

// "-3d+2h", "-60d+10m", "+30s": an offset in days, hours, minutes and seconds, in milliseconds,
// for tests that script answers at moments around a fixed "now".
inline qint64 offsetMsecs(const QString& offset) {
    static const QRegularExpression term(QStringLiteral("([+-]?\\d+)([dhms])"));
    qint64 msecs = 0;
    for (const QRegularExpressionMatch& m : term.globalMatch(offset)) {
        const qint64 unit = m.captured(2) == u"d"   ? 86'400'000
                            : m.captured(2) == u"h" ? 3'600'000
                            : m.captured(2) == u"m" ? 60'000
                                                    : 1'000;
        msecs += m.captured(1).toLongLong() * unit;
    }
    return msecs;
}
