#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// Text to number: the longest leading decimal number of the text (optional
// leading blanks, a sign, digits, a point, digits, an exponent). Blanks are
// tabs and the Unicode space separators of a UTF-8 text: the space, the
// no-break, thin, ideographic and other Unicode spaces. Text that does not
// start with a number reads as 0: the empty text, a blank, "??".
// Never throws; an overflowing exponent gives an infinity.
double CDbl(std::string_view text);
double Val(std::string_view text);

// The decimal text of an integer: "-12", "0", "3".
std::string Str(std::int64_t value);

// A number by a numeric mask such as "###.###", "###.##" or "###.00###":
// rounded half away from zero to the mask's decimal places; decimals under
// '0' always shown, decimals under '#' only where they are not trailing
// zeros; the integer part is never cut and has at least one digit; no point
// without decimals after it; "-" for a negative value that does not round to
// 0. Non-finite values give "INF", "-INF" and "NAN".
std::string Format(double value, std::string_view mask);

// Field n (counted from 1) of text split at separator; the empty text for a
// field number below 1 or past the last field.
std::string NthField(std::string_view text, std::string_view separator, int n);

// The code point of the first character of a UTF-8 text, 0 for the empty text.
int Asc(std::string_view text);

// A double as a 32-bit integer, truncated toward zero. Values beyond the
// range saturate at its ends and NaN gives 0, so no conversion is undefined.
std::int32_t Int32FromDouble(double value);

} // namespace fw
