// Reading numbers from text, formatting them by masks, and the small text
// helpers that the program's files and labels rely on.

#include "framework/text.h"

#include <QDir>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace fw {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TextTest, ReadsTheLongestLeadingDecimalNumber) {
    struct Row {
        std::string text;
        double expected;
    };
    const std::vector<Row> rows = {
        // No number at the start reads as 0.
        {"", 0.0},
        {" ", 0.0},
        {"??", 0.0},
        {"abc", 0.0},
        {"-", 0.0},
        {"+", 0.0},
        {".", 0.0},
        {"-.", 0.0},
        {"e5", 0.0},
        {"- 5", 0.0}, // the sign must touch the digits
        {"\n5", 0.0}, // only blanks and tabs are skipped
        {"0x10", 0.0},
        {"inf", 0.0},
        {"nan", 0.0},
        // Plain numbers, with blanks, signs and points.
        {"12", 12.0},
        {"  12", 12.0},
        {"\t-3.5", -3.5},
        // Unicode spaces that a paste brings along are blanks too.
        {"\u00A04700", 4700.0},
        {"\u2000\u2005\u200A\u202F\u3000-2", -2.0},
        {"\u205F50", 50.0},  // a medium mathematical space
        {"\u1680+1.5", 1.5}, // an ogham space mark
        {"\u2007\u205F\u1680 \t7", 7.0},
        {"\u200B5", 0.0}, // a zero-width space is no blank
        {"\xC2", 0.0},    // nor is half of a no-break space
        {"+7", 7.0},
        {".2", 0.2},
        {"5.", 5.0},
        {"-.25", -0.25},
        {"00012", 12.0},
        {"3300", 3300.0},
        {"5 ", 5.0},
        // The number ends where its syntax ends.
        {"12abc", 12.0},
        {"12,5", 12.0}, // a comma is never a decimal point
        {"1.2.3", 1.2},
        {"1N4004", 1.0},
        // Exponents count only with digits after them.
        {"1e3", 1000.0},
        {"1E3", 1000.0},
        {"1e+2", 100.0},
        {"2.5e-3", 0.0025},
        {".5e1", 5.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-", 1.0},
        {"1e3x", 1000.0},
        {"1e 3", 1.0},
        // The edges of the double range.
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"1.8e308", kInf},
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"1e99999999999999999999", kInf},
        {std::string(400, '9'), kInf},
        {"0." + std::string(400, '0') + "1e10", 0.0},
        {"1e-400", 0.0},
        {"1e-99999999999999999999", 0.0},
        {"0e999999", 0.0},
        {"0." + std::string(500, '0') + "1e600", 1e99},
        {std::string(500, '0') + "1e-500", 0.0}, // underflows
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.text.substr(0, 40) + "\"");
        EXPECT_EQ(CDbl(row.text), row.expected);
        EXPECT_EQ(Val(row.text), row.expected);
    }
}

TEST(TextTest, TooSmallNumbersKeepTheirSign) {
    EXPECT_FALSE(std::signbit(CDbl("1e-400")));
    EXPECT_TRUE(std::signbit(CDbl("-1e-400")));
    EXPECT_TRUE(std::signbit(CDbl("-0")));
}

// Makes a German locale (decimal comma) available to setlocale, compiling it
// into the test's own folder when the machine has none installed.
bool UseDecimalCommaLocale() {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        return true;
    }
    const QString folder = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/locales";
    QDir().mkpath(folder);
    QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", folder + "/de_DE.UTF-8"});
    qputenv("LOCPATH", folder.toLocal8Bit());
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

// A process locale with a decimal comma must not change how numbers read or
// print: Qt sets the C locale from the environment at start-up.
TEST(TextTest, NumbersIgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!UseDecimalCommaLocale()) {
        GTEST_SKIP() << "no locale with a decimal comma, and localedef could not make one";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(CDbl("2.5"), 2.5);
    EXPECT_EQ(CDbl("2,5"), 2.0);
    EXPECT_EQ(CDbl("1.5e3"), 1500.0);
    EXPECT_EQ(Format(2.5, "###.00###"), "2.50");
    EXPECT_EQ(Format(-1.234567, "###.###"), "-1.235");
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(TextTest, FormatsByMask) {
    struct Row {
        double value;
        const char* mask;
        std::string expected;
    };
    const std::vector<Row> rows = {
        // The labels' everyday values.
        {0.35, "###.##", "0.35"},
        {5.0, "###.##", "5"},
        {0.0, "###.###", "0"},
        {1000000.0, "###.###", "1000000"},
        {-1.234567, "###.###", "-1.235"},
        {2.5, "###.00###", "2.50"},
        {0.0, "###.00###", "0.00"},
        {0.00025, "###.00###", "0.00025"},
        {0.002, "###.00###", "0.002"},
        {1250.0, "###.00###", "1250.00"},
        {0.125, "###.00###", "0.125"},
        {8.0, "###.00###", "8.00"},
        {0.0125, "###.00###", "0.0125"},
        {1.23456789, "###.00###", "1.23457"},
        {0.1, "###.##", "0.1"},
        // Ties round away from zero, on the double's exact value.
        {0.125, "###.##", "0.13"}, // exactly half
        {-0.125, "###.##", "-0.13"},
        {0.0005, "###.###", "0.001"}, // a hair above half
        {0.0015, "###.###", "0.002"},
        {2.675, "###.##", "2.67"}, // a hair below half
        {1.005, "###.##", "1"},
        {99.995, "###.##", "100"}, // a hair above half, carried into a new digit
        {0.999, "###.##", "1"},
        {9.9996, "###.###", "10"},
        {2.5, "###", "3"},
        {-2.5, "###", "-3"},
        {0.5, "#", "1"},
        // Negatives that round to zero lose their sign.
        {-0.0004, "###.###", "0"},
        {-0.004, "###.##", "0"},
        {-0.0, "###.##", "0"},
        {-0.0005, "###.###", "-0.001"},
        {-1e-300, "###.00###", "0.00"},
        // The integer part is never cut; '0' digits pad it.
        {123.456, "0000.0", "0123.5"},
        {123456789012.345, "###.##", "123456789012.35"},
        {1e300, "###.##",
         "10000000000000000525047602552044202487044685811081591549158541155118024579889081957863713"
         "7"
         "508044786404370444383288387817694252323536043057564479218478670698284838720092657580373"
         "783023379478809005936895323497079994508111903896764088007465274278014249457925878882005"
         "6842838115669472196386865459400540160"},
        {std::numeric_limits<double>::denorm_min(), "###.###", "0"},
        // Other characters of a mask are left out.
        {12.5, "$###.##", "12.5"},
        {12.5, "", "13"},
        // Values that are not finite.
        {kNaN, "###.##", "NAN"},
        {kInf, "###.##", "INF"},
        {-kInf, "###.00###", "-INF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.value) + " by \"" + row.mask + "\"");
        EXPECT_EQ(Format(row.value, row.mask), row.expected);
    }
}

TEST(TextTest, TakesFieldsOfText) {
    struct Row {
        std::string text;
        std::string separator;
        int n;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"a,b,c", ",", 1, "a"},
        {"a,b,c", ",", 2, "b"},
        {"a,b,c", ",", 3, "c"},
        {"a,b,c", ",", 4, ""},
        {"a,b,c", ",", 0, ""},
        {"a,b,c", ",", -1, ""},
        {"a,b,c", ",", std::numeric_limits<int>::max(), ""},
        {"a,b,c", ",", std::numeric_limits<int>::min(), ""},
        {"", ",", 1, ""},
        {",", ",", 1, ""},
        {",", ",", 2, ""},
        {",", ",", 3, ""},
        {"a,,c", ",", 2, ""},
        {"a,,c", ",", 3, "c"},
        {"a,b,", ",", 3, ""},
        {"abc", ",", 1, "abc"},
        {"abc", ",", 2, ""},
        {"1N4004,60,0,12,5,120,5,51,.2,3300,0", ",", 9, ".2"},
        {"1N4004,60,0,12,5,120,5,51,.2,3300,0", ",", 11, "0"},
        {"1N4004,60,0,12,5,120,5,51,.2,3300,0", ",", 12, ""},
        {"SS2H9 (Sch),.3,0", ",", 1, "SS2H9 (Sch)"},
        {"a::b::c", "::", 2, "b"},
        {"a:::b", "::", 2, ":b"},
        {"abc", "", 1, "abc"},
        {"abc", "", 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.text + "\" field " + std::to_string(row.n));
        EXPECT_EQ(NthField(row.text, row.separator, row.n), row.expected);
    }
}

TEST(TextTest, GivesTheFirstCodePoint) {
    struct Row {
        std::string text;
        int expected;
    };
    const std::vector<Row> rows = {
        {"", 0},
        {"A", 65},
        {"AB", 65},
        {std::string(1, '\0'), 0},
        {"\u00B0", 0xB0},
        {"\u20AC5", 0x20AC},
        {"\U0001F600", 0x1F600},
        {"\xC3", 0xC3}, // a cut sequence
        {"\xE2\x82", 0xE2},
        {"\x80", 0x80},             // a continuation byte alone
        {"\xC0\x80", 0xC0},         // an over-long zero
        {"\xED\xA0\x80", 0xED},     // a surrogate
        {"\xF4\x90\x80\x80", 0xF4}, // beyond the last code point
        {"\xC3"
         "A",
         0xC3}, // a lead byte without its continuation
        {"\xFF", 0xFF},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(Asc(row.text), row.expected);
    }
}

TEST(TextTest, ConvertsDoublesToInt32WithoutUndefinedBehaviour) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Row {
        double value;
        std::int32_t expected;
    };
    const std::vector<Row> rows = {
        {0.0, 0},
        {-0.0, 0},
        {1.9, 1},
        {-1.9, -1},
        {399.99, 399},
        {2147483646.9, 2147483646},
        {2147483647.0, kMax},
        {2147483647.5, kMax},
        {2147483648.0, kMax},
        {-2147483647.9, -2147483647},
        {-2147483648.0, kMin},
        {-2147483648.9, kMin},
        {-2147483649.0, kMin},
        {1e300, kMax},
        {-1e300, kMin},
        {kInf, kMax},
        {-kInf, kMin},
        {kNaN, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(Int32FromDouble(row.value), row.expected);
    }
}

TEST(TextTest, WritesIntegers) {
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(3), "3");
    EXPECT_EQ(Str(-12), "-12");
    EXPECT_EQ(Str(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

} // namespace
} // namespace fw
