#include "framework/text.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

namespace fw {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a decimal number as they stand in the text.
struct DecimalText {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    std::string_view exponent; // sign and digits, empty when there is none
};

std::string_view TakeDigits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

// A whole character at the start of a UTF-8 text: its code point and its
// length in bytes.
struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

// The character that starts the text, or none when the text is empty or its
// first byte begins no whole character: the lead byte tells the sequence's
// length and its own share of the code point, and a sequence that is cut,
// malformed, over-long or a surrogate is not a character.
std::optional<Utf8Character> FirstCharacter(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return Utf8Character{lead, 1};
    }
    struct Sequence {
        unsigned char leadMask, leadBits;
        std::size_t length;
        char32_t payloadMask, smallest;
    };
    constexpr Sequence kSequences[] = {
        {0xE0, 0xC0, 2, 0x1F, 0x80},
        {0xF0, 0xE0, 3, 0x0F, 0x800},
        {0xF8, 0xF0, 4, 0x07, 0x10000},
    };
    for (const Sequence& sequence : kSequences) {
        if ((lead & sequence.leadMask) != sequence.leadBits) {
            continue;
        }
        if (text.size() < sequence.length) {
            return std::nullopt;
        }
        char32_t codePoint = lead & sequence.payloadMask;
        for (std::size_t i = 1; i < sequence.length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (byte(i) & 0x3F);
        }
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (codePoint < sequence.smallest || codePoint > 0x10FFFF || surrogate) {
            return std::nullopt;
        }
        return Utf8Character{codePoint, sequence.length};
    }
    return std::nullopt;
}

// The length in bytes of the blank that starts the text, 0 for none. Blanks
// are the tab and every Unicode space separator, the plain space among them:
// a paste from a word processor or a web page brings along no-break, thin,
// ideographic or mathematical spaces, and a field that shows " 4700" must
// never read as 0. Zero-width and line-breaking characters are no blanks.
std::size_t BlankAt(std::string_view text) {
    if (text.starts_with('\t')) {
        return 1;
    }
    const std::optional<Utf8Character> character = FirstCharacter(text);
    if (character && QChar::category(character->codePoint) == QChar::Separator_Space) {
        return character->length;
    }
    return 0;
}

// The longest leading decimal number of the text, or none.
std::optional<DecimalText> LeadingNumber(std::string_view text) {
    DecimalText number;
    std::size_t at = 0;
    while (const std::size_t blank = BlankAt(text.substr(at))) {
        at += blank;
    }
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        number.negative = text[at] == '-';
        ++at;
    }
    number.integerDigits = TakeDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        number.fractionDigits = TakeDigits(text, at);
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty()) {
        return std::nullopt;
    }
    // An exponent counts only when digits follow it: "2e" and "2e+" read as 2.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t after = at + 1;
        if (after < text.size() && (text[after] == '+' || text[after] == '-')) {
            ++after;
        }
        if (after < text.size() && IsDigit(text[after])) {
            const std::size_t signAt = at + 1;
            TakeDigits(text, after);
            number.exponent = text.substr(signAt, after - signAt);
        }
    }
    return number;
}

// Whether a number too large or too small for a double is too large: it is
// when its first significant digit stands left of the point after the
// exponent has moved it. Only the sign of that position matters here, so the
// exponent is read with saturation.
bool Overflows(const DecimalText& number) {
    constexpr long kSaturated = 1'000'000'000L;
    long exponent = 0;
    bool exponentNegative = false;
    for (char c : number.exponent) {
        if (c == '-') {
            exponentNegative = true;
        } else if (IsDigit(c)) {
            exponent = std::min(kSaturated, exponent * 10 + (c - '0'));
        }
    }
    long position = 0; // digits left of the point, counted from the first significant one
    const std::size_t firstInteger = number.integerDigits.find_first_not_of('0');
    if (firstInteger != std::string_view::npos) {
        position = static_cast<long>(std::min<std::size_t>(
            number.integerDigits.size() - firstInteger, static_cast<std::size_t>(kSaturated)));
    } else {
        const std::size_t firstFraction = number.fractionDigits.find_first_not_of('0');
        position = -static_cast<long>(
            std::min<std::size_t>(firstFraction, static_cast<std::size_t>(kSaturated)));
    }
    return position + (exponentNegative ? -exponent : exponent) > 0;
}

double ToDouble(const DecimalText& number) {
    // from_chars reads the C locale's syntax whatever locale the process has.
    std::string plain;
    plain.reserve(number.integerDigits.size() + number.fractionDigits.size() +
                  number.exponent.size() + 3);
    plain.append(number.integerDigits.empty() ? "0" : number.integerDigits);
    if (!number.fractionDigits.empty()) {
        plain.push_back('.');
        plain.append(number.fractionDigits);
    }
    if (!number.exponent.empty()) {
        plain.push_back('e');
        plain.append(number.exponent.front() == '+' ? number.exponent.substr(1) : number.exponent);
    }
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        magnitude = Overflows(number) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        magnitude = 0.0;
    }
    return number.negative ? -magnitude : magnitude;
}

// A numeric mask: how many decimals it rounds to, how many of them are always
// shown, and how many integer digits are always shown. Only '#', '0' and the
// first '.' have a meaning; any other character is left out.
struct Mask {
    int decimals = 0;
    int shownDecimals = 0;
    int shownIntegerDigits = 1;
};

Mask ParseMask(std::string_view text) {
    Mask mask;
    const std::size_t point = text.find('.');
    const std::string_view integerPart = text.substr(0, point);
    mask.shownIntegerDigits =
        std::max(1, static_cast<int>(std::count(integerPart.begin(), integerPart.end(), '0')));
    if (point == std::string_view::npos) {
        return mask;
    }
    int position = 0;
    for (char c : text.substr(point + 1)) {
        if (c == '#' || c == '0') {
            ++position;
            if (c == '0') {
                mask.shownDecimals = position;
            }
        }
    }
    mask.decimals = position;
    return mask;
}

// The exact decimal digits of a finite, non-negative double, split at the
// point. Every double is a whole number times a power of two, so its decimal
// expansion ends; printing that many decimals loses nothing.
struct ExactDigits {
    std::string integer;
    std::string fraction;
};

ExactDigits ExactDecimal(double magnitude) {
    constexpr int kMantissaBits = std::numeric_limits<double>::digits; // 53
    constexpr int kMostDecimals = 1074; // the smallest subnormal is 2^-1074
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const int decimals = std::clamp(kMantissaBits - exponent, 0, kMostDecimals);
    // Up to 309 integer digits, the point and up to 1074 decimals.
    std::array<char, 1400> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                            std::chars_format::fixed, decimals);
    (void)error; // the buffer holds the longest expansion
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t point = text.find('.');
    ExactDigits digits;
    digits.integer = std::string(text.substr(0, point));
    if (point != std::string_view::npos) {
        digits.fraction = std::string(text.substr(point + 1));
    }
    return digits;
}

// Adds one unit in the last place to a string of decimal digits.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

double CDbl(std::string_view text) {
    const std::optional<DecimalText> number = LeadingNumber(text);
    return number ? ToDouble(*number) : 0.0;
}

double Val(std::string_view text) {
    return CDbl(text);
}

std::string Str(std::int64_t value) {
    return std::to_string(value);
}

std::string Format(double value, std::string_view maskText) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    const Mask mask = ParseMask(maskText);
    const ExactDigits exact = ExactDecimal(std::fabs(value));

    // Round half away from zero at the mask's decimals: the magnitude is
    // rounded up exactly when the first dropped digit is 5 or more.
    std::string fraction = exact.fraction;
    fraction.resize(std::max(fraction.size(), static_cast<std::size_t>(mask.decimals) + 1), '0');
    const bool roundUp = fraction[static_cast<std::size_t>(mask.decimals)] >= '5';
    std::string digits =
        exact.integer + fraction.substr(0, static_cast<std::size_t>(mask.decimals));
    if (roundUp) {
        Increment(digits);
    }
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(mask.decimals);
    std::string integer = digits.substr(0, integerLength);
    std::string decimals = digits.substr(integerLength);

    const std::size_t leadingZeros = integer.find_first_not_of('0');
    const std::size_t significant =
        leadingZeros == std::string::npos ? 0 : integer.size() - leadingZeros;
    const std::size_t keepInteger =
        std::max(significant, static_cast<std::size_t>(mask.shownIntegerDigits));
    integer = std::string(keepInteger > integer.size() ? keepInteger - integer.size() : 0, '0') +
              integer.substr(integer.size() - std::min(keepInteger, integer.size()));

    std::size_t keepDecimals = decimals.size();
    while (keepDecimals > static_cast<std::size_t>(mask.shownDecimals) &&
           decimals[keepDecimals - 1] == '0') {
        --keepDecimals;
    }
    decimals.resize(keepDecimals);

    const bool roundsToZero = digits.find_first_not_of('0') == std::string::npos;
    std::string text = (value < 0 && !roundsToZero) ? "-" : "";
    text += integer;
    if (!decimals.empty()) {
        text += '.';
        text += decimals;
    }
    return text;
}

std::string NthField(std::string_view text, std::string_view separator, int n) {
    if (n < 1) {
        return {};
    }
    // Without a separator the whole text is the one field.
    if (separator.empty()) {
        return n == 1 ? std::string(text) : std::string();
    }
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos) {
            return {};
        }
        start = next + separator.size();
    }
    const std::size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

int Asc(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    // A byte that begins no whole character stands for itself.
    const std::optional<Utf8Character> character = FirstCharacter(text);
    return character ? static_cast<int>(character->codePoint) : static_cast<unsigned char>(text[0]);
}

std::int32_t Int32FromDouble(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= kHighest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace fw
