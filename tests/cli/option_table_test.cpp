// The option table and what is written from it: the parser takes every row, the usage text
// lists each one, and the bash completion and the manual page kept in the sources are the
// ones the table makes. `cmake --build <build> -t cli_docs` writes those two anew.

#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "cli/cli.h"
#include "tests/support/support.h"

namespace slabrating::cli {
namespace {

const std::filesystem::path kSource = SLABRATING_SOURCE;

TEST(OptionTable, completionInPackagingIsTheGeneratedOne) {
    EXPECT_EQ(support::readBytes(kSource / "packaging/slabrating-cli.bash"), completionScript());
}

TEST(OptionTable, manualOptionAndFieldListsAreTheGeneratedOnes) {
    const std::string page = support::readBytes(kSource / "docs/man/slabrating-cli.1.scd");
    EXPECT_EQ(manualFromTables(page), page);
}

// The words of a script, split at blanks, line ends and quotes.
std::set<std::string> wordsOf(const std::string& script) {
    std::set<std::string> words;
    std::string word;
    for (const char c : script + ' ') {
        if (c == ' ' || c == '\n' || c == '\'') {
            words.insert(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

TEST(OptionTable, everyOptionIsParsedAndDocumented) {
    const std::set<std::string> completed = wordsOf(completionScript());
    for (const OptionInfo& option : optionTable()) {
        SCOPED_TRACE(std::string(option.name));
        EXPECT_FALSE(option.manual.empty());
        if (option.kind == OptionKind::Operand) {
            EXPECT_EQ(optionNamed(option.name), nullptr);
            continue;
        }
        EXPECT_EQ(optionNamed(option.name), &option);
        EXPECT_EQ(option.apply == nullptr, option.kind == OptionKind::EndOfOptions);
        EXPECT_TRUE(completed.contains(std::string(option.name)));
        if (!option.help.empty()) {
            EXPECT_NE(usage().find("\n  " + std::string(option.name) + " "), std::string::npos);
        }
    }
    EXPECT_EQ(optionNamed("-h"), optionNamed("--help"));
}

TEST(OptionTable, manualOptionsSection) {
    struct Row {
        const char* name;
        std::string page;
        std::string start;  // what the result starts with
    };
    const Row rows[] = {
        {"no OPTIONS section is left as it is", "# NAME\n\nx\n", "# NAME\n\nx\n"},
        {"the section's body is replaced up to the next heading",
         "# OPTIONS\n\nOLD-BODY\n\n# FIELDS\n\ny\n", "# OPTIONS\n\n*--date* _TEXT_\n\tThe date"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string page = manualFromTables(row.page);
        EXPECT_EQ(page.substr(0, row.start.size()), row.start);
        EXPECT_EQ(page.find("OLD-BODY"), std::string::npos);
    }
    EXPECT_TRUE(manualFromTables("# OPTIONS\n\nOLD-BODY\n\n# FIELDS\n\ny\n")
                    .ends_with("every later argument is an input file.\n\n# FIELDS\n\ny\n"));
}

// The fields' entries are the tables': the section's opening paragraph and the next section
// stay, an entry the tables do not have goes.
TEST(OptionTable, manualFieldsSection) {
    const std::string page =
        manualFromTables("# OPTIONS\n\nx\n\n# FIELDS\n\nIntro.\n\n*Old*\n\tgone\n\n# EXIT\n");
    EXPECT_EQ(page.find("*Old*"), std::string::npos);
    EXPECT_NE(page.find("# FIELDS\n\nIntro.\n\n*StructNo*\n\tstructure number (7 characters)\n\n"
                        "*Rater*\n"),
              std::string::npos);
    EXPECT_NE(page.find("*EffSpan*\n\teffective span length, ft\n\n"), std::string::npos);
    EXPECT_TRUE(
        page.ends_with("*LoadType*\n\tthe legal trucks: *1* state trucks, *2* Interstate "
                       "trucks, *0* none\n\n# EXIT\n"));
}

// A long option name puts its description on the next line instead of running into it.
TEST(OptionTable, usageLinesHaveTheirColumn) {
    const std::string list = usageOptionList();
    EXPECT_NE(list.find("  --date TEXT             the date printed in the report header"),
              std::string::npos);
    EXPECT_NE(list.find("  --calc [SHEET.html]     also writes the calculation sheet (HTML); "
                        "with --out\n                          it stands alone"),
              std::string::npos);
}

}  // namespace
}  // namespace slabrating::cli
