// libFuzzer target: arbitrary file bytes through the input-file reader, then the
// rating run and the writer on whatever the reader loaded; and the same bytes cut
// into field texts (as typed, or given on the command line) through the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/field_table.h"
#include "engine/rating_run.h"
#include "inputfile/inputfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slabrating;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SlabFields fields;
    const ReadResult read = readInputRecord(bytes, fields);
    if (read.stopped() && fields != SlabFields{}) {
        std::abort();  // a stopped read must leave the fields as they were
    }

    const RatingResult result = RunRating(fields, "01/02/2024");
    if (result.outcome == RunOutcome::Complete && !result.message.empty()) {
        std::abort();
    }
    if (!result.report.empty() && result.report.substr(result.report.size() - 2) != "\r\n") {
        std::abort();  // every report line ends in CR LF
    }

    // What the file held, written back, is a whole record that reads back to itself.
    const EncodedRecord record = encodeInputRecord(fields);
    if (record.fits) {
        if (record.line.size() != 82) {
            std::abort();
        }
        SlabFields again;
        readInputRecord(record.line, again);
        const EncodedRecord twice = encodeInputRecord(again);
        if (twice.line != record.line) {
            std::abort();
        }
    }
    // The bytes as fifteen typed field texts, separated by 0x1F: a record that is
    // written must read back to fields that write the very same record.
    SlabFields typed;
    // One value past the table's: a selection the list cannot show.
    typed.LoadType = static_cast<LoadType>(size > 0 ? data[0] % (kLoadTypes.size() + 1) : 0);
    std::string_view rest = size > 0 ? bytes.substr(1) : bytes;
    for (const FieldInfo& field : kFields) {
        const std::size_t cut = rest.find('\x1F');
        typed.*field.text = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    const EncodedRecord typedRecord = encodeInputRecord(typed);
    if (typedRecord.fits == typedRecord.line.empty() ||
        typedRecord.fits != typedRecord.message.empty()) {
        std::abort();  // either a record or a reason, never both or neither
    }
    if (typedRecord.fits) {
        if (typedRecord.line.size() != 82 || typedRecord.line.find_first_of("\r\n") != 80) {
            std::abort();  // a record with shifted columns
        }
        SlabFields back;
        if (!readInputRecord(typedRecord.line, back).messages.empty() && isListed(typed.LoadType)) {
            std::abort();  // a written record reads back without a message (load type aside)
        }
        if (encodeInputRecord(back).line != typedRecord.line) {
            std::abort();
        }
    }
    RunRating(typed, "01/02/2024");
    return 0;
}
