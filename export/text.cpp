#include "export/text.h"

namespace slabrating {

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            // Latin-1 is the first 256 code points: two UTF-8 bytes for the upper half.
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

void appendCsvField(std::string& out, std::string_view utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void appendHtmlText(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // A control character has no place in a page: it shows as a replacement mark.
                if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ||
                    c == 0x7f) {
                    out += "&#xFFFD;";
                } else {
                    out += c;
                }
        }
    }
}

}  // namespace slabrating
