#include "cli/locale_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <clocale>
#include <ctime>

#include "cli/cli.h"
#include "engine/control_characters.h"

namespace slabrating::cli {

namespace {

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> toLatin1(std::string_view text) {
    if (isAscii(text)) {
        return std::string(text);
    }
    const std::string_view codeset = nl_langinfo(CODESET);
    // The C locale knows no characters beyond ASCII: its other bytes are taken as they are.
    if (codeset == "ANSI_X3.4-1968" || codeset == "ISO-8859-1") {
        return std::string(text);
    }
    const iconv_t converter = iconv_open("ISO-8859-1", std::string(codeset).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(input.size(), '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

std::string quotedName(std::string_view name) {
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; };
    bool hasControl = false;
    for (const char c : name) {
        hasControl = hasControl || isControl(c);
    }
    if (!hasControl) {
        return std::string(name);
    }
    std::string quoted;
    std::size_t i = 0;
    while (i < name.size()) {
        if (isControl(name[i])) {
            quoted += "$'";
            for (; i < name.size() && isControl(name[i]); ++i) {
                switch (name[i]) {
                    case '\n':
                        quoted += "\\n";
                        break;
                    case '\r':
                        quoted += "\\r";
                        break;
                    case '\t':
                        quoted += "\\t";
                        break;
                    default: {
                        const auto byte = static_cast<unsigned char>(name[i]);
                        quoted += '\\';
                        quoted += static_cast<char>('0' + (byte >> 6));
                        quoted += static_cast<char>('0' + ((byte >> 3) & 7));
                        quoted += static_cast<char>('0' + (byte & 7));
                    }
                }
            }
            quoted += '\'';
            continue;
        }
        quoted += '\'';
        for (; i < name.size() && !isControl(name[i]); ++i) {
            if (name[i] == '\'') {
                quoted += "'\\''";
            } else {
                quoted += name[i];
            }
        }
        quoted += '\'';
    }
    return quoted;
}

std::string todayShortDate() {
    if (std::setlocale(LC_TIME, "") == nullptr) {
        std::setlocale(LC_TIME, "C");
    }
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%x", local);
    if (std::optional<std::string> date = toLatin1(std::string_view(buffer, length))) {
        return std::move(*date);
    }
    // A short form the record's character set cannot hold (a Japanese locale, say).
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "%Y-%m-%d", local));
}

std::string textProblem(std::string_view name, std::string_view latin1, std::size_t widthLimit) {
    if (holdsControlCharacter(latin1)) {
        return std::string(name) +
               " holds a control character (a line end, escape or NUL byte), which a report "
               "cannot hold";
    }
    if (widthLimit > 0 && latin1.size() > widthLimit) {
        return std::string(name) + " is " + std::to_string(latin1.size()) +
               " characters long; the field holds " + std::to_string(widthLimit);
    }
    return {};
}

std::string todayCompactDate() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    char buffer[16];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "%Y%m%d", local));
}

}  // namespace slabrating::cli
