// The texts written from the option table: the usage text's option list, the bash
// completion and the manual page's option list.

#include <map>
#include <vector>

#include "cli/option_table.h"
#include "engine/field_table.h"
#include "engine/load_type.h"

namespace slabrating::cli {

namespace {

// The usage text's description column and its width (characters).
constexpr std::size_t kHelpColumn = 26;
constexpr std::size_t kHelpWidth = 80;

// The lines of `text`, each preceded by `first` (the first line) or `rest` (the others)
// and ended by a line end.
std::string indented(std::string_view text, std::string_view first, std::string_view rest) {
    std::string out;
    bool isFirst = true;
    while (true) {
        const std::size_t end = text.find('\n');
        out += isFirst ? first : rest;
        out += text.substr(0, end);
        out += '\n';
        isFirst = false;
        if (end == std::string_view::npos) {
            return out;
        }
        text.remove_prefix(end + 1);
    }
}

// The field names, and the load type's, wrapped under a description.
std::string fieldNameLines() {
    const std::string indent(kHelpColumn, ' ');
    std::string names;
    std::string line;
    for (const FieldInfo& field : kFields) {
        if (!line.empty() && kHelpColumn + line.size() + 1 + field.name.size() > kHelpWidth) {
            names += indent + line + '\n';
            line.clear();
        }
        line += line.empty() ? "" : " ";
        line += field.name;
    }
    return names + indent + line + ", or " + std::string(kLoadTypeName) + " with TEXT " +
           loadTypeCodes(", ", " or ") + "\n";
}

// The words `names` joined by blanks and wrapped for the script, lines after the first
// indented by `indent`.
std::string wrappedWords(const std::vector<std::string_view>& names, std::string_view indent,
                         std::size_t firstColumn) {
    constexpr std::size_t kScriptWidth = 84;
    std::string out;
    std::size_t column = firstColumn;
    for (const std::string_view name : names) {
        if (!out.empty()) {
            if (column + 1 + name.size() > kScriptWidth) {
                out += '\n';
                out += indent;
                column = indent.size();
            } else {
                out += ' ';
                ++column;
            }
        }
        out += name;
        column += name.size();
    }
    return out;
}

// The script's lines after `case $prev in` for one kind of completion, `cur` the word.
std::string completionBody(const OptionInfo& option) {
    switch (option.completion) {
        case Completion::Nothing:
            return "        return\n";
        case Completion::Words:
            return "        COMPREPLY=($(compgen -W '" + std::string(option.words) +
                   "' -- \"$cur\"))\n        return\n";
        case Completion::QriFiles:
            return "        _slabrating_cli_files \"$cur\"\n        return\n";
        case Completion::Folders:
            return "        local IFS=$'\\n'\n        compopt -o filenames 2>/dev/null\n"
                   "        COMPREPLY=($(compgen -d -- \"$cur\"))\n        return\n";
        case Completion::AnyFiles:
            return "        local IFS=$'\\n'\n        compopt -o filenames 2>/dev/null\n"
                   "        COMPREPLY=($(compgen -f -- \"$cur\"))\n        return\n";
        case Completion::FilesEnding:
            return "        local IFS=$'\\n'\n        compopt -o filenames 2>/dev/null\n"
                   "        COMPREPLY=($(compgen -d -- \"$cur\") $(compgen -f -X '!*.@(" +
                   std::string(option.words) + ")' -- \"$cur\"))\n        return\n";
        case Completion::Fields:
            break;
        case Completion::Default:
            return {};
    }
    std::vector<std::string_view> names;
    for (const FieldInfo& field : kFields) {
        names.push_back(field.name);
    }
    names.push_back(kLoadTypeName);
    const std::string loadType(kLoadTypeName);
    std::string settings;
    for (const LoadTypeInfo& type : kLoadTypes) {
        settings += (settings.empty() ? "" : " ") + loadType + "=" + type.code;
    }
    return "        if [[ -n $field ]]; then\n"
           "            [[ $field == " +
           loadType + " ]] && COMPREPLY=($(compgen -W '" + loadTypeCodes(" ", " ") +
           "' -- \"$cur\"))\n"
           "        elif [[ $cur == " +
           loadType +
           "=* ]]; then\n"
           "            COMPREPLY=($(compgen -W '" +
           settings +
           "' -- \"$cur\"))\n"
           "        elif [[ $cur != *=* ]]; then\n"
           "            COMPREPLY=($(compgen -S = -W '" +
           wrappedWords(names, "                ", 38) +
           "' -- \"$cur\"))\n"
           "            compopt -o nospace 2>/dev/null\n"
           "        fi\n"
           "        return\n";
}

// The `case $prev in` branches: the options with the same completion share one.
std::string completionCases() {
    std::vector<std::string> bodies;
    std::map<std::string, std::string> patterns;
    for (const OptionInfo& option : optionTable()) {
        const std::string body = completionBody(option);
        if (body.empty()) {
            continue;
        }
        std::string& pattern = patterns[body];
        if (pattern.empty()) {
            bodies.push_back(body);
        }
        pattern += (pattern.empty() ? "" : " | ") + std::string(option.name);
    }
    std::string cases;
    for (const std::string& body : bodies) {
        cases += "    " + patterns[body] + ")\n" + body + "        ;;\n";
    }
    return cases;
}

constexpr std::string_view kCompletionHead =
    R"(# bash completion for slabrating-cli                        -*- shell-script -*-
# Written from the tool's option table (cli/option_table.cpp) by slabrating-cli-docs.
# Options; the field names after --set (with "="); the load type's codes after LoadType=;
# .qri files (and folders on the way to them, or to rate) as arguments; after an option
# with a value, what that value can be.
# Stands alone: it needs no bash-completion helpers.

_slabrating_cli_files()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY+=($(compgen -d -- "$1") $(compgen -f -X '!*.[qQ][rR][iI]' -- "$1"))
}

_slabrating_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]-}
    local field=""
    COMPREPLY=()

    # With "=" among COMP_WORDBREAKS (the default) bash hands "--set LoadType=1" over
    # as --set LoadType = 1, and the completed word is the text after "=".
    if [[ $cur == = && $COMP_CWORD -ge 2 ]]; then
        field=$prev cur="" prev=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $prev == = && $COMP_CWORD -ge 3 ]]; then
        field=${COMP_WORDS[COMP_CWORD-2]} prev=${COMP_WORDS[COMP_CWORD-3]}
    fi

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == -- ]]; then
            _slabrating_cli_files "$cur"
            return
        fi
    done

    case $prev in
)";

constexpr std::string_view kCompletionTail = R"(    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '@OPTIONS@' -- "$cur"))
        return
    fi
    _slabrating_cli_files "$cur"
}

complete -F _slabrating_cli slabrating-cli
)";

// The manual page's term of an option: "*--date* _TEXT_", or an operand's "_FILE_.qri".
std::string manualTerm(const OptionInfo& option) {
    if (option.kind == OptionKind::Operand) {
        return std::string(option.manualValue);
    }
    std::string term = "*" + std::string(option.name) + "*";
    if (!option.manualValue.empty()) {
        term += " " + std::string(option.manualValue);
    }
    return term;
}

// The body of a section of the manual page: from after its heading's blank line to the
// next heading; npos when the page has no such section.
std::pair<std::size_t, std::size_t> sectionBody(std::string_view page, std::string_view heading,
                                                std::size_t from = 0) {
    const std::size_t start = page.find(heading, from);
    if (start == std::string_view::npos) {
        return {std::string_view::npos, std::string_view::npos};
    }
    const std::size_t body = start + heading.size();
    return {body, page.find("\n# ", body)};
}

// The manual's entry of each field and of the load type, from their tables: a text with its
// length, a number with its unit.
std::string fieldEntries() {
    std::string entries;
    for (const FieldInfo& field : kFields) {
        entries += "*" + std::string(field.name) + "*\n\t" + std::string(field.description);
        if (field.kind == FieldKind::Text) {
            entries += " (" + std::to_string(field.columns.width) + " characters)";
        } else if (!field.unit.empty()) {
            entries += ", " + std::string(field.unit);
        }
        entries += "\n\n";
    }
    entries += "*" + std::string(kLoadTypeName) + "*\n\tthe legal trucks: ";
    // The listed choices first, then nothing selected, as the list shows them.
    std::string choices;
    const auto choice = [&choices](const LoadTypeInfo& type) {
        choices += choices.empty() ? "" : ", ";
        choices += "*" + std::string(1, type.code) + "* " + std::string(type.description);
    };
    for (const LoadType id : kListedLoadTypes) {
        choice(loadTypeInfo(id));
    }
    choice(loadTypeInfo(LoadType::None));
    return entries + choices + "\n";
}

}  // namespace

std::string usageOptionList() {
    std::string list;
    for (const OptionInfo& option : optionTable()) {
        if (option.help.empty()) {
            continue;
        }
        std::string head = "  " + std::string(option.name);
        if (!option.value.empty()) {
            head += " " + std::string(option.value);
        }
        // A name too long for its column has its description on the next line.
        head = head.size() + 2 <= kHelpColumn ? head + std::string(kHelpColumn - head.size(), ' ')
                                              : head + "\n" + std::string(kHelpColumn, ' ');
        list += indented(option.help, head, std::string(kHelpColumn, ' '));
        if (option.listsFieldNames) {
            list += fieldNameLines();
        }
    }
    return list;
}

std::string completionScript() {
    std::vector<std::string_view> names;
    for (const OptionInfo& option : optionTable()) {
        if (option.kind != OptionKind::Operand) {
            names.push_back(option.name);
        }
    }
    std::string tail(kCompletionTail);
    tail.replace(tail.find("@OPTIONS@"), 9, wrappedWords(names, "            ", 30));
    return std::string(kCompletionHead) + completionCases() + tail;
}

std::string manualFromTables(std::string_view page) {
    const auto [optionsBody, optionsEnd] = sectionBody(page, "# OPTIONS\n\n");
    if (optionsBody == std::string_view::npos) {
        return std::string(page);
    }
    std::string options;
    for (const OptionInfo& option : optionTable()) {
        options += indented(option.manual, manualTerm(option) + "\n\t", "\t") + "\n";
    }
    std::string made = std::string(page.substr(0, optionsBody)) + options;
    if (optionsEnd == std::string_view::npos) {
        return made;
    }
    // The fields' entries follow the section's opening paragraph.
    const std::string_view rest = page.substr(optionsEnd + 1);
    const auto [fieldsBody, fieldsEnd] = sectionBody(rest, "# FIELDS\n\n");
    const std::size_t entries = fieldsBody == std::string_view::npos
                                    ? std::string_view::npos
                                    : rest.find("\n\n*", fieldsBody);
    if (entries == std::string_view::npos ||
        (fieldsEnd != std::string_view::npos && entries > fieldsEnd)) {
        return made + std::string(rest);
    }
    made += std::string(rest.substr(0, entries + 2)) + fieldEntries();
    if (fieldsEnd != std::string_view::npos) {
        made += std::string(rest.substr(fieldsEnd));
    }
    return made;
}

}  // namespace slabrating::cli
