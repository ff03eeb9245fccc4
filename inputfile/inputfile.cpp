#include "inputfile/inputfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <istream>
#include <optional>

#include "engine/checked.h"
#include "engine/control_characters.h"
#include "engine/field_table.h"
#include "engine/numeric.h"
#include "files/file_writer.h"

namespace slabrating {

namespace {

// Exact powers of ten for the scales and the field widths.
constexpr std::array<double, 6> kPowerOfTen{1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0};

constexpr std::string_view kLoadTypeWarning = "Warning: Load type invalid, please correct.";

// Only the first line matters and only its first 80 columns hold fields, so a
// short prefix of the file decides everything; a huge file costs no more.
constexpr std::size_t kReadPrefix = 256;

// True once `bytes` hold the whole record: its line end, or all of its columns. Reading
// stops there, so a record piped in or typed at a terminal is read at once.
bool recordComplete(std::string_view bytes) {
    return bytes.size() >= kRecordWidth || bytes.find_first_of("\r\n") != std::string_view::npos;
}

ReadResult fileNotFound() {
    return {ReadOutcome::FileNotFound, {std::string(kFileNotFoundMessage)}};
}

std::string controlCharactersReplaced(std::string_view label) {
    std::string message = "Warning: ";
    message += label;
    message += " holds control characters; each was read as a blank.";
    return message;
}

std::string doesNotFit(std::string_view label) {
    std::string message = "Error: ";
    message += label;
    message += " value does not fit the input file.";
    return message;
}

// The whole number the record keeps for a numeric field text, or nothing when it
// is negative or needs more digits than the field's width.
std::optional<long> scaledWholeNumber(std::string_view text, const FieldInfo& number) {
    const std::optional<double> value = numericValue(text);
    if (!value) {
        return 0;  // a blank or non-numeric field is stored as zero
    }
    const double product = *value * kPowerOfTen[static_cast<std::size_t>(number.scalePower)];
    // Anything this large cannot fit a field of at most five digits; testing first
    // also keeps an out-of-range product from reaching the conversion to single.
    if (!(std::fabs(product) < 1.0e7)) {
        return std::nullopt;
    }
    // The record keeps the scaled product to single precision, as the file format expects.
    const double whole = std::round(static_cast<double>(toSingle(product)));
    const double limit = kPowerOfTen[number.columns.width];
    if (whole < 0.0 || whole >= limit) {
        return std::nullopt;
    }
    return static_cast<long>(whole);
}

void appendZeroPadded(std::string& line, long value, std::size_t width) {
    std::string digits = std::to_string(value);
    line.append(width - digits.size(), '0');
    line += digits;
}

void appendRightAligned(std::string& line, std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    line.append(width - text.size(), ' ');
    line += text;
}

// The columns of `line` that exist; a short line gives what is there, maybe nothing.
std::string_view columnText(std::string_view line, FileColumns columns) {
    if (columns.offset >= line.size()) {
        return {};
    }
    return line.substr(columns.offset, columns.width);
}

// The field's number divided by 10^scalePower, done on the decimal digits so that
// no binary rounding enters, written as plain decimal text without trailing zeros.
std::string plainDecimal(const DecimalText& decimal, int scalePower) {
    std::string_view digits = decimal.digits;
    long exponent = decimal.exponent - scalePower;
    while (!digits.empty() && digits.back() == '0') {
        digits.remove_suffix(1);
        ++exponent;
    }
    while (!digits.empty() && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return "0";
    }
    std::string text;
    if (decimal.negative) {
        text += '-';
    }
    if (exponent >= 0) {
        text += digits;
        text.append(static_cast<std::size_t>(exponent), '0');
        return text;
    }
    const long integerDigits = static_cast<long>(digits.size()) + exponent;
    if (integerDigits > 0) {
        text += digits.substr(0, static_cast<std::size_t>(integerDigits));
        text += '.';
        text += digits.substr(static_cast<std::size_t>(integerDigits));
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-integerDigits), '0');
        text += digits;
    }
    return text;
}

}  // namespace

ReadResult readInputRecord(std::string_view bytes, SlabFields& fields) {
    if (bytes.empty()) {
        return fileNotFound();
    }
    // The first line ends at CR LF, a lone LF or a lone CR.
    std::string_view line = bytes.substr(0, bytes.find_first_of("\r\n"));
    if (line.empty()) {
        return {ReadOutcome::InvalidInput, {std::string(kInvalidInputMessage)}};
    }
    line = line.substr(0, kRecordWidth);

    ReadResult result;
    ReaderMessages& messages = result.messages;
    // Only a type the list shows reads; another code leaves the selection as it was.
    const std::optional<LoadType> loadType = loadTypeCoded(line[kLoadTypeColumns.offset]);
    if (loadType && isListed(*loadType)) {
        fields.LoadType = *loadType;
    } else {
        messages.emplace_back(kLoadTypeWarning);
    }

    std::string digitStorage;
    for (const Field id : kFileOrder) {
        const FieldInfo& field = fieldInfo(id);
        const std::string_view columns = columnText(line, field.columns);
        // Texts, and the modular ratio, are taken as they stand in their columns, but for
        // control characters, which would forge lines of the report or of a terminal.
        if (field.readMessage.empty()) {
            std::string& text = fields.*field.text;
            text = columns;
            if (field.kind == FieldKind::Text && holdsControlCharacter(text)) {
                std::replace_if(text.begin(), text.end(), isControlCharacter, ' ');
                messages.push_back(controlCharactersReplaced(field.label));
            }
            continue;
        }
        const std::optional<DecimalText> decimal = decimalText(columns, digitStorage);
        if (!decimal) {
            messages.emplace_back(field.readMessage);
            continue;
        }
        fields.*field.text = plainDecimal(*decimal, field.scalePower);
    }
    return result;
}

ReadResult ReadInputFile(const std::string& path, SlabFields& fields, InputOpening opening) {
    const int flags =
        opening == InputOpening::NeverWait ? O_RDONLY | O_NOCTTY | O_NONBLOCK : O_RDONLY | O_NOCTTY;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        ReadResult failed = fileNotFound();
        failed.error = errno;
        return failed;
    }
    // A plain file gives its first line in one read; a pipe or a terminal gives what has
    // come so far, so reading stops as soon as the record is complete.
    char buffer[kReadPrefix];
    std::size_t count = 0;
    bool failed = false;
    while (!recordComplete(std::string_view(buffer, count)) && count < sizeof buffer) {
        const ssize_t got = ::read(fd, buffer + count, sizeof buffer - count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        count += static_cast<std::size_t>(got);
    }
    const int readError = errno;
    ::close(fd);
    if (failed) {
        ReadResult notRead = fileNotFound();
        notRead.error = readError;
        return notRead;
    }
    return readInputRecord(std::string_view(buffer, count), fields);
}

ReadResult readInputStream(std::istream& in, SlabFields& fields) {
    std::string bytes;
    std::streambuf* source = in.rdbuf();
    while (source != nullptr && !recordComplete(bytes)) {
        const std::streambuf::int_type c = source->sbumpc();
        if (std::streambuf::traits_type::eq_int_type(c, std::streambuf::traits_type::eof())) {
            break;
        }
        bytes += std::streambuf::traits_type::to_char_type(c);
    }
    return readInputRecord(bytes, fields);
}

EncodedRecord encodeInputRecord(const SlabFields& fields) {
    EncodedRecord record;
    std::string& line = record.line;
    line.reserve(kRecordWidth + 2);

    line += loadTypeInfo(fields.LoadType).code;

    for (const Field id : kFileOrder) {
        const FieldInfo& field = fieldInfo(id);
        const std::string_view value = fields.*field.text;
        const std::size_t width = field.columns.width;
        if (field.kind == FieldKind::Text) {
            // A line break inside a text would end the record early when it is read back, and
            // any other control character would be read back as a blank.
            if (holdsControlCharacter(value.substr(0, width))) {
                return {false, std::string(), doesNotFit(field.label)};
            }
            appendRightAligned(line, value, width);
            continue;
        }
        const std::optional<long> whole = scaledWholeNumber(value, field);
        if (!whole) {
            return {false, std::string(), doesNotFit(field.label)};
        }
        appendZeroPadded(line, *whole, width);
    }
    line += "\r\n";
    return record;
}

SaveResult SaveInputFile(const SlabFields& fields, const std::string& path) {
    const EncodedRecord record = encodeInputRecord(fields);
    if (!record.fits) {
        return {SaveOutcome::DoesNotFit, record.message};
    }
    if (!writeFileReplacing(path, record.line)) {
        return {SaveOutcome::NotWritten, std::string(kSaveFailedMessage)};
    }
    return {};
}

}  // namespace slabrating
