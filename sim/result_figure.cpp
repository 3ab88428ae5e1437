#include "sim/result_figure.h"

#include "framework/text.h"

#include <algorithm>
#include <cmath>

namespace {

// The characters before the decimal point: sign and digits, or the whole of
// a text without a point ("NAN", "INF").
std::size_t IntegerLength(const std::string& text) {
    return std::min(text.find('.'), text.size());
}

std::size_t IntegerDigits(const std::string& text) {
    return IntegerLength(text) - (text.starts_with('-') ? 1 : 0);
}

// A power of ten of 0 or more as C prints it: "e+" and at least two digits.
std::string ExponentText(int exponent) {
    return (exponent < 10 ? "e+0" : "e+") + std::to_string(exponent);
}

} // namespace

namespace sim {

std::string ResultFigure(double value, const char* mask, std::size_t integerRoom) {
    const std::string text = fw::Format(value, mask);
    if (!std::isfinite(value) || IntegerLength(text) <= integerRoom) {
        return text;
    }
    // The integer digits give the power of ten exactly; the division leaves
    // 1 <= |mantissa| < 10 but for its last bit, and a mantissa that rounds
    // up to 10 takes the next power.
    int exponent = static_cast<int>(IntegerDigits(text)) - 1;
    double mantissa = value / std::pow(10.0, exponent);
    std::string mantissaText = fw::Format(mantissa, mask);
    if (IntegerDigits(mantissaText) > 1) {
        ++exponent;
        mantissa /= 10;
        mantissaText = fw::Format(mantissa, mask);
    }
    return mantissaText + ExponentText(exponent);
}

} // namespace sim
