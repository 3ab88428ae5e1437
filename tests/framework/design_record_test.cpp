// The design record codec: exact bytes, round trips, and records that are
// truncated or corrupted in every way a damaged layout constant could be.

#include "framework/design_record.h"
#include "framework/design_schema.h"
#include "framework/exceptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {
namespace {

using namespace std::string_literals;

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

TEST(DesignRecordTest, EncodesTheExactBytesOfEachType) {
    const std::string caption = "Start Phase (0-179\u00B0)"; // the degree sign is two bytes
    ASSERT_EQ(caption.size(), 21u);
    const std::vector<Property> properties = {
        {"Text", caption},
        {"Left", std::int32_t{81}},
        {"Index", std::int32_t{INT32_MIN}},
        {"TabIndex", std::int32_t{-1}},
        {"Visible", true},
        {"Bold", false},
        {"TextColor", RGB(0x00, 0x7F, 0xFF)},
    };
    const std::string expected = "Text "s + Bytes({0, 0, 0, 21}) + caption +      //
                                 "Left "s + Bytes({0, 0, 0, 81}) +                //
                                 "Index "s + Bytes({0x80, 0, 0, 0}) +             //
                                 "TabIndex "s + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + //
                                 "Visible "s + Bytes({1}) +                       //
                                 "Bold "s + Bytes({0}) +                          //
                                 "TextColor "s + Bytes({0x00, 0x7F, 0xFF});
    EXPECT_EQ(EncodeDesignRecord(properties), expected);
    EXPECT_EQ(DecodeDesignRecord(expected), properties);
}

TEST(DesignRecordTest, EveryValueSurvivesARoundTrip) {
    const std::vector<Property> rows = {
        {"Left", std::int32_t{0}},
        {"Left", std::int32_t{1}},
        {"Left", std::int32_t{-1}},
        {"Left", std::int32_t{256}},
        {"Left", std::int32_t{-690}},
        {"Left", std::int32_t{INT32_MAX}},
        {"Left", std::int32_t{INT32_MIN}},
        {"Visible", true},
        {"Visible", false},
        {"Caption", ""s},
        {"Caption", " "s},
        {"Caption", "Vf  @\tIf\r \t \r"s},
        {"Caption", "a\0b"s},                 // an embedded zero byte
        {"Caption", "Text 0000 Visible "s},   // looks like entries itself
        {"Caption", std::string(70000, 'x')}, // a count above 16 bits
        {"Caption", "\xFF\xFE not UTF-8"s},   // bytes pass through as they are
        {"TextColor", RGB(0, 0, 0)},
        {"TextColor", RGB(255, 255, 255)},
        {"TextColor", RGB(0x66, 0x32, 0x20)}, // 0x20 is the name separator
    };
    for (const Property& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<Property> one = {row};
        EXPECT_EQ(DecodeDesignRecord(EncodeDesignRecord(one)), one);
    }
}

TEST(DesignRecordTest, EveryKindsDefaultRecordSurvivesARoundTrip) {
    for (ControlKind kind :
         {ControlKind::Window, ControlKind::GroupBox, ControlKind::Canvas, ControlKind::StaticText,
          ControlKind::Listbox, ControlKind::TextField, ControlKind::PushButton,
          ControlKind::UpDownArrows, ControlKind::PopupMenu, ControlKind::RadioButton,
          ControlKind::CheckBox}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const std::vector<Property>& defaults = DesignDefaults(kind);
        EXPECT_EQ(DecodeDesignRecord(EncodeDesignRecord(defaults)), defaults);
    }
}

TEST(DesignRecordTest, TheEmptyRecordHoldsNoProperty) {
    EXPECT_TRUE(DecodeDesignRecord("").empty());
    EXPECT_EQ(EncodeDesignRecord({}), "");
}

// Cut a full record at every byte: a cut between two entries leaves a shorter
// valid record, any other cut must be reported and never read past the end
// (the sanitized build would catch a read past the cut).
TEST(DesignRecordTest, ARecordCutAtAnyByteDecodesItsWholeEntriesOrThrows) {
    std::vector<Property> properties = DesignDefaults(ControlKind::TextField);
    properties[0].value = "EFLinePhase"s;
    std::vector<std::size_t> entryEnds;
    std::vector<Property> prefix;
    for (const Property& property : properties) {
        prefix.push_back(property);
        entryEnds.push_back(EncodeDesignRecord(prefix).size());
    }
    const std::string record = EncodeDesignRecord(properties);
    for (std::size_t cut = 0; cut < record.size(); ++cut) {
        SCOPED_TRACE(cut);
        // Copied so that the bytes after the cut are really absent.
        const std::string truncated = record.substr(0, cut);
        std::size_t whole = 0;
        while (whole < entryEnds.size() && entryEnds[whole] <= cut) {
            ++whole;
        }
        const bool atEntryEnd = cut == 0 || (whole > 0 && entryEnds[whole - 1] == cut);
        if (atEntryEnd) {
            const std::vector<Property> expected(properties.begin(),
                                                 properties.begin() + static_cast<long>(whole));
            EXPECT_EQ(DecodeDesignRecord(truncated), expected);
        } else {
            EXPECT_THROW(DecodeDesignRecord(truncated), OutOfBoundsException);
        }
    }
}

TEST(DesignRecordTest, CorruptedRecordsAreReportedWithTheRightException) {
    enum class Outcome { OutOfBounds, Runtime };
    struct Row {
        const char* what;
        std::string record;
        Outcome outcome;
    };
    const std::vector<Row> rows = {
        {"text count one past the end", "Caption "s + Bytes({0, 0, 0, 4}) + "abc",
         Outcome::OutOfBounds},
        {"text count as large as it gets", "Caption "s + Bytes({0x7F, 0xFF, 0xFF, 0xFF}) + "abc",
         Outcome::OutOfBounds},
        {"negative text count", "Caption "s + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + "abc",
         Outcome::OutOfBounds},
        {"negative count of minus 2^31", "Caption "s + Bytes({0x80, 0, 0, 0}),
         Outcome::OutOfBounds},
        {"text count itself cut", "Caption "s + Bytes({0, 0}), Outcome::OutOfBounds},
        {"integer cut", "Left "s + Bytes({0, 0, 1}), Outcome::OutOfBounds},
        {"colour cut", "TextColor "s + Bytes({1, 2}), Outcome::OutOfBounds},
        {"Boolean missing", "Visible "s, Outcome::OutOfBounds},
        {"name without its blank", "Visible"s, Outcome::OutOfBounds},
        {"good entry then a name cut", "Visible "s + Bytes({1}) + "Ena", Outcome::OutOfBounds},
        {"unknown name", "Colour "s + Bytes({1, 2, 3}), Outcome::Runtime},
        {"name in the wrong case", "visible "s + Bytes({1}), Outcome::Runtime},
        {"empty name", " "s + Bytes({1}), Outcome::Runtime},
        {"garbage bytes", Bytes({0xC3, 0x00, 0x20, 0x01, 0x02}), Outcome::Runtime},
        {"Boolean that is neither 0 nor 1", "Visible "s + Bytes({2}), Outcome::Runtime},
        {"text spilling into a bad next entry",
         "Caption "s + Bytes({0, 0, 0, 1}) + "ab " + Bytes({1}), Outcome::Runtime},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        try {
            DecodeDesignRecord(row.record);
            ADD_FAILURE() << "decoded without complaint";
        } catch (const OutOfBoundsException&) {
            EXPECT_EQ(row.outcome, Outcome::OutOfBounds);
        } catch (const RuntimeException&) {
            EXPECT_EQ(row.outcome, Outcome::Runtime);
        }
    }
}

TEST(DesignRecordTest, EncodingRefusesUnknownNamesAndValuesOfTheWrongType) {
    const std::vector<std::vector<Property>> rows = {
        {{"NoSuchProperty", std::int32_t{1}}},
        {{"", true}},
        {{"Visible ", true}},                           // a blank in the name would break decoding
        {{"Left", true}},                               // integer given a Boolean
        {{"Visible", std::int32_t{1}}},                 // Boolean given an integer
        {{"Caption", RGB(1, 2, 3)}},                    // text given a colour
        {{"TextColor", "#000000"s}},                    // colour given a text
        {{"Left", std::int32_t{1}}, {"Caption", true}}, // the second entry is wrong
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.back().name);
        EXPECT_THROW(EncodeDesignRecord(row), std::invalid_argument);
    }
}

TEST(DesignRecordTest, ErrorsNameTheProperty) {
    try {
        DecodeDesignRecord("Caption "s + Bytes({0, 0, 0, 9}) + "short");
        FAIL() << "no exception";
    } catch (const OutOfBoundsException& e) {
        EXPECT_NE(std::string(e.what()).find("Caption"), std::string::npos) << e.what();
    }
    try {
        DecodeDesignRecord("Colour "s + Bytes({1, 2, 3}));
        FAIL() << "no exception";
    } catch (const RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find("Colour"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace fw
