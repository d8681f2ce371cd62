#pragma once

#include <QString>

#include <optional>

// The one test of "reads as a number" used for point coordinates: blanks at either end
// aside, an optional sign, digits with at most one decimal point, and an optional exponent
// (E or e and a signed whole number). The empty text is not a number.
namespace NumericText {

std::optional<double> toNumber(const QString& text);

inline bool isNumeric(const QString& text) {
    return toNumber(text).has_value();
}

// Shortest decimal form: whole numbers without a decimal point ("128", "8.5", "-5").
QString format(double value);

} // namespace NumericText
