#pragma once
// Text conversions of the views: the record's Latin-1 texts as UTF-8, CSV fields, HTML text.

#include <string>
#include <string_view>

namespace slabrating {

/// The record's single-byte Latin-1 text as UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

/// A file name as UTF-8: the name's own bytes when they are UTF-8 already (as the names of
/// a UTF-8 desktop are), else its bytes taken as Latin-1.
std::string fileNameToUtf8(std::string_view name);

/// Appends one CSV field as RFC 4180 writes it: in double quotes, with its quotes doubled,
/// when it holds a comma, a double quote, a CR or an LF; as it is otherwise.
void appendCsvField(std::string& out, std::string_view utf8);

/// Appends text for HTML content or a quoted attribute value, with & < > " ' escaped.
void appendHtmlText(std::string& out, std::string_view utf8);

}  // namespace slabrating
