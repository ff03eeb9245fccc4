#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fields.h"

namespace slabrating {

/// Messages of the reader, in the order they arose (each one a message box in the window).
using ReaderMessages = std::vector<std::string>;

/// How reading an input file ended.
enum class ReadOutcome {
    Loaded,        ///< the line was read; a bad field kept its text and has its message
    FileNotFound,  ///< the file could not be opened or read, or holds no bytes: nothing loaded
    InvalidInput,  ///< the first line is empty: nothing loaded
};

/// What the reader hands back: how it ended and its messages.
struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Loaded;
    ReaderMessages messages;
    int error = 0;  ///< errno of the failed open or read; 0 when there was none (no bytes)

    /// True when nothing was loaded; the fields are then exactly as they were.
    bool stopped() const { return outcome != ReadOutcome::Loaded; }
};

/// The reader's message when the file cannot be opened or read, or holds no bytes at all.
inline constexpr std::string_view kFileNotFoundMessage = "File not found.";
/// The reader's message when the first line of the file is empty.
inline constexpr std::string_view kInvalidInputMessage = "Invalid input.";

/// How an input file is opened.
enum class InputOpening {
    AsGiven,    ///< as any program opens it: a FIFO's or terminal's record is waited for
    NeverWait,  ///< never waiting (a batch's plain files: one swapped for a FIFO fails)
};

/// Reads the first line of the input file at `path` into `fields`. Never fails
/// towards its caller: every problem becomes a message ("File not found.", ...). A control
/// character in a text's columns is read as a blank, with a warning.
ReadResult ReadInputFile(const std::string& path, SlabFields& fields,
                         InputOpening opening = InputOpening::AsGiven);

/// The same on a stream (standard input): reads up to the end of the record's line and
/// no further, so a record piped in or typed at a terminal is read at once.
ReadResult readInputStream(std::istream& in, SlabFields& fields);

/// The same on the bytes of a file already read (no bytes: the file has no line).
ReadResult readInputRecord(std::string_view bytes, SlabFields& fields);

/// The 80-column record of `fields` followed by CR LF, or the message why it cannot be written.
struct EncodedRecord {
    bool fits = true;     ///< false when a field cannot be held in its columns
    std::string line;     ///< the record and its CR LF; empty when it does not fit
    std::string message;  ///< why it does not fit ("Error: <label> value does not fit ...")
};
EncodedRecord encodeInputRecord(const SlabFields& fields);

/// How saving an input file ended.
enum class SaveOutcome {
    Saved,       ///< the file holds the record
    DoesNotFit,  ///< a field cannot be held in its columns; nothing was written
    NotWritten,  ///< the file could not be written; an old file is as it was
};

/// What a save hands back: how it ended and the message to show when it failed.
struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    std::string message;  ///< the message box text of a failed save
};

/// Writes `fields` as an input file at `path`, replacing an existing file safely.
SaveResult SaveInputFile(const SlabFields& fields, const std::string& path);

}  // namespace slabrating
