#include "core/data/NumericText.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace NumericText {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// True when text[i..] starts with at least one digit; advances past them.
bool skipDigits(const QString& text, qsizetype& i) {
    const qsizetype start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i > start;
}

} // namespace

std::optional<double> toNumber(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QString body = text.mid(begin, end - begin);

    qsizetype i = 0;
    if (i < body.size() && (body[i] == u'+' || body[i] == u'-'))
        ++i;
    bool digits = skipDigits(body, i);
    if (i < body.size() && body[i] == u'.') {
        ++i;
        digits = skipDigits(body, i) || digits;
    }
    if (!digits)
        return std::nullopt;
    if (i < body.size() && (body[i] == u'E' || body[i] == u'e')) {
        ++i;
        if (i < body.size() && (body[i] == u'+' || body[i] == u'-'))
            ++i;
        if (!skipDigits(body, i))
            return std::nullopt;
    }
    if (i != body.size())
        return std::nullopt;

    // from_chars ignores the locale that QCoreApplication installs; it takes no '+'.
    const QByteArray latin = body.toLatin1();
    const char* first = latin.constData();
    const char* last = first + latin.size();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [ptr, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: still a number, saturated.
        const bool negative = *first == '-';
        const bool tiny = body.contains(u"e-", Qt::CaseInsensitive);
        value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    } else if (error != std::errc() || ptr != last) {
        return std::nullopt;
    }
    return value;
}

QString format(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace NumericText
