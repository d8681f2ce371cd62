#pragma once

#include <QString>

#include <cmath>
#include <optional>

// The one test of "reads as a number" used for point coordinates: blanks at either end
// aside, an optional sign, digits with at most one decimal point, and an optional exponent
// (E or e and a signed whole number). The empty text is not a number.
namespace NumericText {

// The value; one too large for a double is saturated to infinity ("1e999").
std::optional<double> toNumber(const QString& text);

// What a coordinate must be: a number with a finite value, so "1e999" is none.
inline bool isNumeric(const QString& text) {
    const std::optional<double> value = toNumber(text);
    return value && std::isfinite(*value);
}

// Shortest decimal form: whole numbers without a decimal point ("128", "8.5", "-5").
QString format(double value);

} // namespace NumericText
