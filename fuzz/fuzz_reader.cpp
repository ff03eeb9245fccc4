// libFuzzer target: arbitrary file bytes through the input-file reader, then the
// rating run and the writer on whatever the reader loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "inputfile.h"
#include "rating_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slabrating;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SlabFields fields;
    const ReaderMessages messages = readInputRecord(bytes, fields);
    if (readerStopped(messages) && fields != SlabFields{}) {
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
    if (record.error.empty()) {
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
    return 0;
}
