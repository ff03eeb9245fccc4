#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "inputfile/inputfile.h"
#include "tests/support/support.h"

namespace slabrating {
namespace {

using support::exampleFields;
using support::exampleFieldsAsRead;
using support::kExampleLine;
using support::readBytes;
using support::writeBytes;

// Column range (1-based first column, width) of each numeric field.
struct FieldColumns {
    const char* name;
    std::string SlabFields::*field;
    std::size_t first;
    std::size_t width;
    int scalePower;
    const char* readMessage;
};

const std::vector<FieldColumns> kNumericColumns = {
    {"EffSpan", &SlabFields::EffSpan, 42, 5, 3, "Error: Effective Span value incorrect."},
    {"SlabThick", &SlabFields::SlabThick, 47, 5, 3, "Error: Slab Thickness value incorrect."},
    {"StDistTop", &SlabFields::StDistTop, 52, 5, 3, "Error: Steel Top Distance value incorrect."},
    {"StAreaTop", &SlabFields::StAreaTop, 57, 3, 2, "Error: Steel Top Area value incorrect."},
    {"Bitum", &SlabFields::Bitum, 60, 4, 2, "Error: Bituminous Overlay value incorrect."},
    {"Concfc", &SlabFields::Concfc, 64, 4, 0, "Error: Conrete Fc value incorrect."},
    {"SteelFy", &SlabFields::SteelFy, 68, 5, 0, "Error: Steel Fy value incorrect."},
    {"StDistBot", &SlabFields::StDistBot, 75, 3, 2,
     "Error: Steel Bottom Distance value incorrect."},
    {"STAreaBot", &SlabFields::STAreaBot, 78, 3, 2, "Error: Steel Bottom Area value incorrect."},
};

const FieldColumns& columnsOf(std::string_view name) {
    static const FieldColumns modRatio{"ModRatio", &SlabFields::ModRatio, 73, 2, 0, ""};
    if (name == modRatio.name) {
        return modRatio;
    }
    for (const FieldColumns& c : kNumericColumns) {
        if (name == c.name) {
            return c;
        }
    }
    // A misspelt name in a table must not quietly test another field.
    ADD_FAILURE() << "no numeric field named " << name;
    static const FieldColumns none{"", nullptr, 1, 0, 0, ""};
    return none;
}

// The example line with the columns of one field replaced by `text` (same width).
std::string exampleWith(std::string_view name, std::string_view text) {
    const FieldColumns& c = columnsOf(name);
    std::string line(kExampleLine);
    EXPECT_EQ(text.size(), c.width) << name;
    line.replace(c.first - 1, c.width, text);
    return line;
}

std::string columnsOfLine(const std::string& line, std::string_view name) {
    const FieldColumns& c = columnsOf(name);
    return line.substr(c.first - 1, c.width);
}

ReaderMessages noMessages() {
    return {};
}

// ---------------------------------------------------------------- writing

TEST(InputFileWrite, workedExampleLine) {
    const EncodedRecord record = encodeInputRecord(exampleFields());
    EXPECT_EQ(record.message, "");
    EXPECT_EQ(record.line, std::string(kExampleLine) + "\r\n");
}

TEST(InputFileWrite, numericFieldColumns) {
    struct Row {
        const char* name;
        const char* field;
        const char* text;
        const char* columns;
    };
    const Row rows[] = {
        {"blank span writes zeros", "EffSpan", "", "00000"},
        {"all-blank span writes zeros", "EffSpan", "   ", "00000"},
        {"blank top area writes zeros", "StAreaTop", "", "000"},
        {"blank overlay writes zeros", "Bitum", "", "0000"},
        {"blank modular ratio writes 00", "ModRatio", "", "00"},
        {"non-numeric span counts as zero", "EffSpan", "abc", "00000"},
        {"non-numeric modular ratio counts as zero", "ModRatio", "n/a", "00"},
        {"tab is no blank: counts as zero", "EffSpan", "\t18.5", "00000"},
        {"comma decimal counts as zero", "EffSpan", "18,5", "00000"},
        {"span 12.3456 rounds to 12346", "EffSpan", "12.3456", "12346"},
        {"overlay 1.275 is 127.5 in single and rounds up", "Bitum", "1.275", "0128"},
        {"single 12345.5 rounds up where double would not", "SteelFy", "12345.49999", "12346"},
        {"half a thousandth rounds away from zero", "EffSpan", "0.0005", "00001"},
        {"just under half a thousandth rounds down", "EffSpan", "0.0004", "00000"},
        {"small negative rounds to zero", "EffSpan", "-0.0004", "00000"},
        {"negative zero writes zeros", "SlabThick", "-0", "00000"},
        {"blanks around the number", "EffSpan", "  18.5 ", "18500"},
        {"sign and exponent", "EffSpan", "+1.85e1", "18500"},
        {"largest span", "EffSpan", "99.999", "99999"},
        {"largest thickness", "SlabThick", "99.999", "99999"},
        {"largest top distance", "StDistTop", "99.999", "99999"},
        {"largest top area", "StAreaTop", "9.99", "999"},
        {"largest overlay", "Bitum", "99.99", "9999"},
        {"largest concrete strength", "Concfc", "9999", "9999"},
        {"largest steel stress", "SteelFy", "99999", "99999"},
        {"largest modular ratio", "ModRatio", "99", "99"},
        {"largest bottom distance", "StDistBot", "9.99", "999"},
        {"largest bottom area", "STAreaBot", "9.99", "999"},
        {"modular ratio .5 rounds to 1", "ModRatio", ".5", "01"},
        {"modular ratio 10", "ModRatio", "10", "10"},
        {"concrete strength 4500", "Concfc", "4500", "4500"},
        {"concrete strength 2.5 rounds to 3", "Concfc", "2.5", "0003"},
        {"bottom distance 0.508 rounds to 51", "StDistBot", "0.508", "051"},
        {"top distance 0.508", "StDistTop", "0.508", "00508"},
        {"tiny exponent writes zeros", "SteelFy", "1e-300", "00000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields = exampleFields();
        fields.*columnsOf(row.field).field = row.text;
        const EncodedRecord record = encodeInputRecord(fields);
        ASSERT_EQ(record.message, "");
        ASSERT_EQ(record.line.size(), 82u);
        EXPECT_EQ(columnsOfLine(record.line, row.field), row.columns);
        // Every other column is untouched by the field.
        std::string expected = exampleWith(row.field, row.columns) + "\r\n";
        EXPECT_EQ(record.line, expected);
    }
}

TEST(InputFileWrite, blankWindowWritesZeros) {
    const EncodedRecord record = encodeInputRecord(SlabFields{});
    EXPECT_EQ(record.message, "");
    EXPECT_EQ(record.line, "0" + std::string(40, ' ') +
                               "00000"
                               "00000"
                               "00000"
                               "000"
                               "0000"
                               "0000"
                               "00000"
                               "00"
                               "000"
                               "000"
                               "\r\n");
}

TEST(InputFileWrite, textAndLoadTypeColumns) {
    struct Row {
        const char* name;
        SlabFields fields;
        std::size_t first;  // 1-based
        std::string columns;
    };
    auto with = [](auto member, std::string text) {
        SlabFields f = exampleFields();
        f.*member = std::move(text);
        return f;
    };
    auto withLoadType = [](LoadType loadType) {
        SlabFields f = exampleFields();
        f.LoadType = loadType;
        return f;
    };
    const Row rows[] = {
        {"two-letter initials get one leading blank", with(&SlabFields::Rater, "JD"), 9, " JD"},
        {"empty structure number is seven blanks", with(&SlabFields::StructNo, ""), 2, "       "},
        {"ten-character structure number is cut to seven",
         with(&SlabFields::StructNo, "ABCDEFGHIJ"), 2, "ABCDEFG"},
        {"trailing blanks of a text are kept", with(&SlabFields::Hwy, "5 "), 12, " 5 "},
        {"batch identifier right-aligned", with(&SlabFields::BatchID, "B7"), 15, "    B7"},
        {"comments of exactly 21 characters", with(&SlabFields::Comments, "123456789012345678901"),
         21, "123456789012345678901"},
        {"comments longer than 21 are cut", with(&SlabFields::Comments, "123456789012345678901XYZ"),
         21, "123456789012345678901"},
        {"Latin-1 bytes kept", with(&SlabFields::Comments, "PONT \xC9TROIT \xFF"), 21,
         "        PONT \xC9TROIT \xFF"},
        {"line break beyond the width is cut away", with(&SlabFields::Rater, "ABC\r\n"), 9, "ABC"},
        {"state trucks", withLoadType(LoadType::StateTrucks), 1, "1"},
        {"Interstate trucks", withLoadType(LoadType::Interstate), 1, "2"},
        {"no load type", withLoadType(LoadType::None), 1, "0"},
        {"a selection outside the list counts as none", withLoadType(static_cast<LoadType>(7)), 1,
         "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const EncodedRecord record = encodeInputRecord(row.fields);
        ASSERT_EQ(record.message, "");
        ASSERT_EQ(record.line.size(), 82u);
        EXPECT_EQ(record.line.substr(row.first - 1, row.columns.size()), row.columns);
        EXPECT_EQ(record.line.substr(41), std::string(kExampleLine.substr(41)) + "\r\n");
    }
}

TEST(InputFileWrite, valueThatDoesNotFitIsRefused) {
    struct Row {
        const char* name;
        std::vector<std::pair<const char*, const char*>> settings;
        const char* error;
    };
    const Row rows[] = {
        {"span of 100 ft",
         {{"EffSpan", "100"}},
         "Error: Effective Span value does not fit the input file."},
        {"negative span",
         {{"EffSpan", "-1"}},
         "Error: Effective Span value does not fit the input file."},
        {"span rounding up to six digits",
         {{"EffSpan", "99.9995"}},
         "Error: Effective Span value does not fit the input file."},
        {"span beyond the double range",
         {{"EffSpan", "1e400"}},
         "Error: Effective Span value does not fit the input file."},
        {"negative thickness",
         {{"SlabThick", "-0.001"}},
         "Error: Slab Thickness value does not fit the input file."},
        {"top distance of 100",
         {{"StDistTop", "100"}},
         "Error: Steel Top Distance value does not fit the input file."},
        {"top area of 10",
         {{"StAreaTop", "10"}},
         "Error: Steel Top Area value does not fit the input file."},
        {"overlay of 100",
         {{"Bitum", "100"}},
         "Error: Bituminous Overlay value does not fit the input file."},
        {"concrete strength 10000",
         {{"Concfc", "10000"}},
         "Error: Concrete Fc value does not fit the input file."},
        {"concrete strength 9999.5 rounds to 10000",
         {{"Concfc", "9999.5"}},
         "Error: Concrete Fc value does not fit the input file."},
        {"steel stress 100000",
         {{"SteelFy", "100000"}},
         "Error: Steel Fy value does not fit the input file."},
        {"steel stress beyond the single range",
         {{"SteelFy", "1e39"}},
         "Error: Steel Fy value does not fit the input file."},
        {"modular ratio 100",
         {{"ModRatio", "100"}},
         "Error: Modular Ratio value does not fit the input file."},
        {"negative modular ratio",
         {{"ModRatio", "-8"}},
         "Error: Modular Ratio value does not fit the input file."},
        {"bottom distance of 10",
         {{"StDistBot", "10"}},
         "Error: Steel Bottom Distance value does not fit the input file."},
        {"negative bottom area",
         {{"STAreaBot", "-0.5"}},
         "Error: Steel Bottom Area value does not fit the input file."},
        {"first in column order: span before bottom area",
         {{"STAreaBot", "10"}, {"EffSpan", "100"}},
         "Error: Effective Span value does not fit the input file."},
        {"column order, not screen order: thickness before overlay",
         {{"Bitum", "-1"}, {"SlabThick", "-1"}},
         "Error: Slab Thickness value does not fit the input file."},
        {"line feed in the comments",
         {{"Comments", "OVER\nCREEK"}},
         "Error: Comments value does not fit the input file."},
        {"carriage return in the structure number",
         {{"StructNo", "B\r1"}},
         "Error: Structure Number value does not fit the input file."},
        // Found by the reader's fuzzer: a NUL or DEL was written, then read back as a blank.
        {"DEL in the structure number",
         {{"StructNo",
           "B\x7f"
           "1"}},
         "Error: Structure Number value does not fit the input file."},
        {"escape in the comments",
         {{"Comments", "OVER\x1b[2JCREEK"}},
         "Error: Comments value does not fit the input file."},
        {"line break in a text comes before a bad number",
         {{"EffSpan", "100"}, {"BatchID", "\n"}},
         "Error: Batch ID value does not fit the input file."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields = exampleFields();
        for (const auto& [name, text] : row.settings) {
            if (std::string_view(name) == "Comments") {
                fields.Comments = text;
            } else if (std::string_view(name) == "StructNo") {
                fields.StructNo = text;
            } else if (std::string_view(name) == "BatchID") {
                fields.BatchID = text;
            } else {
                fields.*columnsOf(name).field = text;
            }
        }
        const EncodedRecord record = encodeInputRecord(fields);
        EXPECT_EQ(record.message, row.error);
        EXPECT_FALSE(record.fits);
        EXPECT_EQ(record.line, "");
    }
}

// ---------------------------------------------------------------- reading

TEST(InputFileRead, workedExampleLine) {
    SlabFields fields;
    EXPECT_EQ(readInputRecord(std::string(kExampleLine) + "\r\n", fields).messages, noMessages());
    EXPECT_EQ(fields, exampleFieldsAsRead());
}

TEST(InputFileRead, numericColumnsBecomePlainDecimalText) {
    struct Row {
        const char* name;
        const char* field;
        const char* columns;
        const char* text;
    };
    const Row rows[] = {
        {"span 24000 gives 24", "EffSpan", "24000", "24"},
        {"top distance 00508 gives 0.508", "StDistTop", "00508", "0.508"},
        {"overlay 0250 gives 2.5", "Bitum", "0250", "2.5"},
        {"concrete strength 4500 gives 4500", "Concfc", "4500", "4500"},
        {"steel stress 40000 gives 40000", "SteelFy", "40000", "40000"},
        {"span of zeros gives 0", "EffSpan", "00000", "0"},
        {"area of zeros gives 0", "StAreaTop", "000", "0"},
        {"steel stress of zeros gives 0", "SteelFy", "00000", "0"},
        {"span 12346 gives 12.346", "EffSpan", "12346", "12.346"},
        {"overlay 0128 gives 1.28", "Bitum", "0128", "1.28"},
        {"span 00001 gives 0.001", "EffSpan", "00001", "0.001"},
        {"area 001 gives 0.01", "STAreaBot", "001", "0.01"},
        {"area 999 gives 9.99", "StAreaTop", "999", "9.99"},
        {"span 99999 gives 99.999", "EffSpan", "99999", "99.999"},
        {"bottom distance 100 gives 1", "StDistBot", "100", "1"},
        {"leading blanks pass the test", "EffSpan", " 1850", "1.85"},
        {"trailing blanks pass the test", "EffSpan", "185  ", "0.185"},
        {"negative columns", "EffSpan", "-0050", "-0.05"},
        {"negative zero gives 0", "EffSpan", "-0000", "0"},
        {"decimal point in the columns", "EffSpan", "  .5 ", "0.0005"},
        {"exponent in the columns", "EffSpan", "1e3  ", "1"},
        {"negative exponent in the columns", "EffSpan", "1e-9 ", "0.000000000001"},
        {"large exponent in the columns", "Concfc", "9e12", "9000000000000"},
        {"decimals in steel stress kept", "SteelFy", "1.250", "1.25"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields;
        EXPECT_EQ(readInputRecord(exampleWith(row.field, row.columns), fields).messages,
                  noMessages());
        EXPECT_EQ(fields.*columnsOf(row.field).field, row.text);
    }
}

TEST(InputFileRead, badNumericFieldKeepsItsTextAndShowsItsMessage) {
    // Each text is right-aligned in the field's columns by blanks.
    const char* badTexts[] = {"",    "x",   "1-",  "e",   "1e",  "+",  ".",
                              "1 2", "1,5", "\t1", "0x1", "--1", "1e+"};
    for (const FieldColumns& c : kNumericColumns) {
        for (const char* bad : badTexts) {
            SCOPED_TRACE(std::string(c.name) + " columns '" + bad + "'");
            const std::string_view badText(bad);
            if (badText.size() > c.width) {
                continue;
            }
            const std::string columns = std::string(c.width - badText.size(), ' ') + bad;
            SlabFields fields;
            fields.*c.field = "previous";
            SlabFields expected = exampleFieldsAsRead();
            expected.*c.field = "previous";
            EXPECT_EQ(readInputRecord(exampleWith(c.name, columns), fields).messages,
                      ReaderMessages{c.readMessage});
            EXPECT_EQ(fields, expected);
        }
    }
}

TEST(InputFileRead, everyMessageInOrder) {
    std::string line(kExampleLine);
    line[0] = 'x';
    for (const FieldColumns& c : kNumericColumns) {
        line.replace(c.first - 1, c.width, std::string(c.width, '?'));
    }
    SlabFields fields;
    const ReaderMessages expected = {
        "Warning: Load type invalid, please correct.",
        "Error: Effective Span value incorrect.",
        "Error: Slab Thickness value incorrect.",
        "Error: Steel Top Distance value incorrect.",
        "Error: Steel Top Area value incorrect.",
        "Error: Bituminous Overlay value incorrect.",
        "Error: Conrete Fc value incorrect.",
        "Error: Steel Fy value incorrect.",
        "Error: Steel Bottom Distance value incorrect.",
        "Error: Steel Bottom Area value incorrect.",
    };
    EXPECT_EQ(readInputRecord(line, fields).messages, expected);
    EXPECT_EQ(fields.StructNo, "B-12-AC");
    EXPECT_EQ(fields.Comments, "     SH 50 OVER CREEK");
    EXPECT_EQ(fields.ModRatio, "00");
}

TEST(InputFileRead, loadTypeColumn) {
    struct Row {
        const char* name;
        char column;
        LoadType before;
        LoadType after;
        bool warning;
    };
    const Row rows[] = {
        {"1 selects the state trucks", '1', LoadType::Interstate, LoadType::StateTrucks, false},
        {"2 selects the Interstate trucks", '2', LoadType::StateTrucks, LoadType::Interstate,
         false},
        {"0 (saved with none) warns and keeps the selection", '0', LoadType::Interstate,
         LoadType::Interstate, true},
        {"3 warns and keeps the selection", '3', LoadType::StateTrucks, LoadType::StateTrucks,
         true},
        {"blank warns", ' ', LoadType::None, LoadType::None, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string line(kExampleLine);
        line[0] = row.column;
        SlabFields fields;
        fields.LoadType = row.before;
        const ReaderMessages messages = readInputRecord(line, fields).messages;
        EXPECT_EQ(messages, row.warning
                                ? ReaderMessages{"Warning: Load type invalid, please correct."}
                                : noMessages());
        EXPECT_EQ(fields.LoadType, row.after);
        // Everything else still loads.
        SlabFields expected = exampleFieldsAsRead();
        expected.LoadType = row.after;
        EXPECT_EQ(fields, expected);
    }
}

TEST(InputFileRead, stopsWithoutChangingTheFields) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* message;
        ReadOutcome outcome;
    };
    const Row rows[] = {
        {"no bytes at all: the file has no line", "", "File not found.", ReadOutcome::FileNotFound},
        {"empty first line, CR LF", "\r\n" + std::string(kExampleLine) + "\r\n", "Invalid input.",
         ReadOutcome::InvalidInput},
        {"empty first line, lone LF", "\n" + std::string(kExampleLine), "Invalid input.",
         ReadOutcome::InvalidInput},
        {"empty first line, lone CR", "\r" + std::string(kExampleLine), "Invalid input.",
         ReadOutcome::InvalidInput},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields = exampleFields();
        const ReadResult read = readInputRecord(row.bytes, fields);
        EXPECT_EQ(read.messages, ReaderMessages{row.message});
        EXPECT_EQ(read.outcome, row.outcome);
        EXPECT_EQ(fields, exampleFields());
    }
}

TEST(InputFileRead, onlyTheFirstLineIsRead) {
    const std::string other = "2XXXXXXX" + std::string(72, '9');
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"CR LF then a second line", std::string(kExampleLine) + "\r\n" + other + "\r\n"},
        {"lone LF then a second line", std::string(kExampleLine) + "\n" + other + "\n"},
        {"lone CR then a second line", std::string(kExampleLine) + "\r" + other},
        {"no line end at all", std::string(kExampleLine)},
        {"columns past 80 are no field", std::string(kExampleLine) + "123456789"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SlabFields fields;
        EXPECT_EQ(readInputRecord(row.bytes, fields).messages, noMessages());
        EXPECT_EQ(fields, exampleFieldsAsRead());
    }
}

TEST(InputFileRead, shortLineLoadsWhatItCovers) {
    struct Row {
        const char* name;
        std::size_t length;
        std::size_t messages;  // numeric fields reported: those the line does not cover
    };
    const Row rows[] = {
        {"only the load type", 1, 9},
        {"ends inside the rater", 10, 9},
        {"ends with the comments", 41, 9},
        {"ends inside the span: what is there is tested", 44, 8},
        {"ends with the span", 46, 8},
        {"ends inside the modular ratio", 73, 2},
        {"ends with the bottom distance", 77, 1},
        {"ends inside the bottom area", 79, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string line(kExampleLine.substr(0, row.length));
        SlabFields fields;
        fields.EffSpan = fields.Concfc = fields.STAreaBot = "previous";
        const ReaderMessages messages = readInputRecord(line + "\r\n", fields).messages;
        ASSERT_EQ(messages.size(), row.messages);
        for (std::size_t i = 0; i < messages.size(); ++i) {
            EXPECT_EQ(messages[i],
                      kNumericColumns[kNumericColumns.size() - messages.size() + i].readMessage);
        }
        EXPECT_EQ(fields.LoadType, LoadType::StateTrucks);
        auto covered = [&](std::size_t first, std::size_t width) {
            return first - 1 >= line.size() ? std::string() : line.substr(first - 1, width);
        };
        EXPECT_EQ(fields.StructNo, covered(2, 7));
        EXPECT_EQ(fields.Rater, covered(9, 3));
        EXPECT_EQ(fields.Comments, covered(21, 21));
        EXPECT_EQ(fields.ModRatio, covered(73, 2));
        if (row.length < 42) {
            EXPECT_EQ(fields.EffSpan, "previous");
            EXPECT_EQ(fields.Concfc, "previous");
        }
    }
    SlabFields fields;
    readInputRecord(std::string(kExampleLine.substr(0, 44)), fields);
    EXPECT_EQ(fields.EffSpan, "0.185");
    readInputRecord(std::string(kExampleLine.substr(0, 79)), fields);
    EXPECT_EQ(fields.STAreaBot, "0.06");
}

TEST(InputFileRead, textColumnsKeptAsTheyStand) {
    std::string line(kExampleLine);
    line.replace(20, 21, "\xC9t\xE9  \xFF   X          \xA0");
    line.replace(1, 7, "  \xA0\xBF   ");
    line.replace(72, 2, "a ");
    SlabFields fields;
    EXPECT_EQ(readInputRecord(line, fields).messages, noMessages());
    EXPECT_EQ(fields.Comments, "\xC9t\xE9  \xFF   X          \xA0");
    EXPECT_EQ(fields.StructNo, "  \xA0\xBF   ");
    EXPECT_EQ(fields.ModRatio, "a ");
}

// Control characters in a text's columns (NUL, escape, DEL, the C1 controls) would forge
// lines of a report or commands of a terminal: each is read as a blank, with a warning
// that names the field. (Before: they reached the report and the summary as they were.)
TEST(InputFileRead, controlCharactersInTextsAreReadAsBlanks) {
    std::string line(kExampleLine);
    line.replace(20, 21, "\xC9t\xE9  \xFF\x01\x7F X  \x1b[2J    \xA0");
    line.replace(1, 7, "  \x80\x9F   ");
    line[45] = '\0';
    SlabFields fields;
    EXPECT_EQ(readInputRecord(line, fields).messages,
              (ReaderMessages{
                  "Warning: Structure Number holds control characters; each was read as a blank.",
                  "Warning: Comments holds control characters; each was read as a blank.",
                  "Error: Effective Span value incorrect."}));
    EXPECT_EQ(fields.Comments, "\xC9t\xE9  \xFF   X   [2J    \xA0");
    EXPECT_EQ(fields.StructNo, "       ");
}

// ---------------------------------------------------------------- round trips

// Every whole number a numeric field can hold survives reading and writing back.
TEST(InputFileRoundTrip, everyStoredNumberSurvives) {
    for (const FieldColumns& c : kNumericColumns) {
        SCOPED_TRACE(c.name);
        std::size_t limit = 1;
        for (std::size_t i = 0; i < c.width; ++i) {
            limit *= 10;
        }
        std::string line(kExampleLine);
        SlabFields fields;
        for (std::size_t value = 0; value < limit; ++value) {
            std::string digits = std::to_string(value);
            digits.insert(0, c.width - digits.size(), '0');
            line.replace(c.first - 1, c.width, digits);
            ASSERT_EQ(readInputRecord(line, fields).messages, noMessages()) << digits;
            const EncodedRecord record = encodeInputRecord(fields);
            ASSERT_EQ(record.line, line + "\r\n") << digits << " read as " << fields.*c.field;
        }
    }
}

// A typed value the format can hold comes back as the same plain decimal text.
TEST(InputFileRoundTrip, typedValuesComeBackUnchanged) {
    const char* texts[] = {"0",      "0.001",  "0.01", "0.1",  "0.5",    "1",     "1.5",
                           "2.5",    "12.345", "18.5", "24",   "33.333", "50.05", "99.99",
                           "99.999", "9.99",   "0.31", "0.62", "1.275"};
    for (const FieldColumns& c : kNumericColumns) {
        for (const char* text : texts) {
            SCOPED_TRACE(std::string(c.name) + " = " + text);
            SlabFields fields = exampleFieldsAsRead();
            fields.*c.field = text;
            const EncodedRecord record = encodeInputRecord(fields);
            // Values beyond the field's width or decimals do not belong to this test.
            const std::string_view textView(text);
            const std::size_t point = textView.find('.');
            const std::size_t decimals =
                point == std::string_view::npos ? 0 : textView.size() - point - 1;
            if (!record.fits || decimals > static_cast<std::size_t>(c.scalePower)) {
                continue;
            }
            SlabFields back;
            ASSERT_EQ(readInputRecord(record.line, back).messages, noMessages());
            EXPECT_EQ(back, fields);
        }
    }
}

// ---------------------------------------------------------------- files

class InputFileDisk : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_temp.path(name); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_temp.dir())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    support::TempDir m_temp;
};

TEST_F(InputFileDisk, readProblemsAreFileNotFound) {
    writeBytes(path("empty.qri"), "");
    std::filesystem::create_directory(path("folder.qri"));
    for (const std::string& file :
         {path("missing.qri"), path("empty.qri"), path("folder.qri"), std::string()}) {
        SCOPED_TRACE(file);
        SlabFields fields = exampleFields();
        EXPECT_EQ(ReadInputFile(file, fields).messages, ReaderMessages{"File not found."});
        EXPECT_EQ(fields, exampleFields());
    }
}

TEST_F(InputFileDisk, readsTheFirstLineOfALargeFile) {
    std::string bytes = std::string(kExampleLine) + "\n";
    bytes += std::string(1 << 20, 'Z');
    writeBytes(path("large.qri"), bytes);
    SlabFields fields;
    EXPECT_EQ(ReadInputFile(path("large.qri"), fields).messages, noMessages());
    EXPECT_EQ(fields, exampleFieldsAsRead());
}

TEST_F(InputFileDisk, firstLineLongerThanTheReadPrefix) {
    writeBytes(path("long.qri"), std::string(kExampleLine) + std::string(5000, '7') + "\r\n");
    SlabFields fields;
    EXPECT_EQ(ReadInputFile(path("long.qri"), fields).messages, noMessages());
    EXPECT_EQ(fields, exampleFieldsAsRead());
}

TEST_F(InputFileDisk, saveWritesTheRecordAndReplacesAnOldFile) {
    writeBytes(path("slab.qri"),
               "an older, longer file that must disappear entirely\r\nsecond line\r\n");
    EXPECT_EQ(SaveInputFile(exampleFields(), path("slab.qri")).outcome, SaveOutcome::Saved);
    EXPECT_EQ(readBytes(path("slab.qri")), std::string(kExampleLine) + "\r\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"slab.qri"});

    SlabFields fields;
    EXPECT_EQ(ReadInputFile(path("slab.qri"), fields).messages, noMessages());
    EXPECT_EQ(fields, exampleFieldsAsRead());
}

TEST_F(InputFileDisk, refusedSaveLeavesTheOldFileWhole) {
    const std::string old = std::string(kExampleLine) + "\r\n";
    writeBytes(path("slab.qri"), old);
    SlabFields fields = exampleFields();
    fields.EffSpan = "250";
    const SaveResult saved = SaveInputFile(fields, path("slab.qri"));
    EXPECT_EQ(saved.outcome, SaveOutcome::DoesNotFit);
    EXPECT_EQ(saved.message, "Error: Effective Span value does not fit the input file.");
    EXPECT_EQ(readBytes(path("slab.qri")), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"slab.qri"});
}

TEST_F(InputFileDisk, failedSaveSaysSoAndLeavesNoTemporaryFile) {
    std::filesystem::create_directory(path("taken.qri"));
    writeBytes(path("taken.qri/inside"), "kept");
    struct Row {
        const char* name;
        std::string target;
    };
    const Row rows[] = {
        {"target is a folder", path("taken.qri")},
        {"folder does not exist", path("no-such-folder/slab.qri")},
        {"empty path (nothing chosen)", std::string()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SaveResult saved = SaveInputFile(exampleFields(), row.target);
        EXPECT_EQ(saved.outcome, SaveOutcome::NotWritten);
        EXPECT_EQ(saved.message, "Error: The file could not be saved.");
        EXPECT_EQ(entries(), std::vector<std::string>{"taken.qri"});
        EXPECT_EQ(readBytes(path("taken.qri/inside")), "kept");
    }
}

TEST_F(InputFileDisk, replacementKeepsPermissions) {
    namespace fs = std::filesystem;
    writeBytes(path("slab.qri"), "old\r\n");
    fs::permissions(path("slab.qri"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveInputFile(exampleFields(), path("slab.qri")).outcome, SaveOutcome::Saved);
    EXPECT_EQ(fs::status(path("slab.qri")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(InputFileDisk, saveThroughALinkReplacesTheLinkedFile) {
    namespace fs = std::filesystem;
    writeBytes(path("real.qri"), "old\r\n");
    fs::create_symlink(path("real.qri"), path("link.qri"));
    EXPECT_EQ(SaveInputFile(exampleFields(), path("link.qri")).outcome, SaveOutcome::Saved);
    EXPECT_TRUE(fs::is_symlink(path("link.qri")));
    EXPECT_EQ(readBytes(path("real.qri")), std::string(kExampleLine) + "\r\n");
}

}  // namespace
}  // namespace slabrating
