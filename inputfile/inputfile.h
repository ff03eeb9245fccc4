#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fields.h"

namespace slabrating {

/// Messages of the reader, in the order they arose (each one a message box in the window).
using ReaderMessages = std::vector<std::string>;

/// The reader's message when the file cannot be opened or read, or holds no bytes at all.
inline constexpr std::string_view kFileNotFoundMessage = "File not found.";
/// The reader's message when the first line of the file is empty.
inline constexpr std::string_view kInvalidInputMessage = "Invalid input.";
/// The message of a save that could not create, write or rename its file.
inline constexpr std::string_view kSaveFailedMessage = "Error: The file could not be saved.";

/// Reads the first line of the input file at `path` into `fields`. Never fails
/// towards its caller: every problem becomes a message ("File not found.", ...).
ReaderMessages ReadInputFile(const std::string& path, SlabFields& fields);

/// The same on a stream (standard input): reads up to the end of the record's line and
/// no further, so a record piped in or typed at a terminal is read at once.
ReaderMessages readInputStream(std::istream& in, SlabFields& fields);

/// The same on the bytes of a file already read (no bytes: the file has no line).
ReaderMessages readInputRecord(std::string_view bytes, SlabFields& fields);

/// True when the reader stopped without loading anything ("File not found." or
/// "Invalid input."); `fields` is then exactly as it was.
bool readerStopped(const ReaderMessages& messages);

/// The 80-column record of `fields` followed by CR LF, or the message why it cannot be written.
struct EncodedRecord {
    std::string line;   ///< the record and its CR LF; empty when refused
    std::string error;  ///< empty when the record was built
};
EncodedRecord encodeInputRecord(const SlabFields& fields);

/// Writes `fields` as an input file at `path`, replacing an existing file safely.
/// Returns an empty text on success, else the message to show.
std::string SaveInputFile(const SlabFields& fields, const std::string& path);

}  // namespace slabrating
