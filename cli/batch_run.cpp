#include <optional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cli/locale_text.h"
#include "cli/parts.h"
#include "cli/progress.h"
#include "engine/rating_run.h"
#include "export/calc_sheet.h"
#include "export/rated_slab.h"
#include "export/summary.h"
#include "files/folder_writer.h"
#include "files/streamed_file.h"
#include "inputfile/inputfile.h"

namespace slabrating::cli {

namespace {

// Two inputs of one batch whose reports would have the same file.
constexpr std::string_view kSameNameMessage =
    "Error: Another input file of this batch has the same name.";
// The report of an input was written, its calculation sheet was not.
constexpr std::string_view kSheetNotSavedMessage =
    "Error: The report was saved, but its calculation sheet could not be saved.";

// Why a report or sheet was not written, as the summary's write_error column says it.
std::string writeReason(const WriteResult& written) {
    return written.step == WriteStep::Protected ? "an input file of this batch" : written.reason();
}

// The lines of a batch on standard output and standard error: written as they come, or,
// while the progress line is shown, held until it is next redrawn and then written above
// it, so that no line ever runs into it.
class BatchOutput {
public:
    BatchOutput(std::ostream& out, std::ostream& err, std::optional<Progress>& progress)
        : m_out(out), m_err(err), m_progress(progress) {}

    void line(bool toErr, std::string text) {
        std::ostream& stream = toErr ? m_err : m_out;
        if (!m_progress) {
            stream << text;
            return;
        }
        if (!m_held.empty() && m_held.back().first == &stream) {
            m_held.back().second += text;
        } else {
            m_held.emplace_back(&stream, std::move(text));
        }
    }

    // `done` files are done.
    void tick(std::size_t done) {
        if (m_progress && m_progress->due()) {
            m_progress->erase();
            writeHeld();
            m_progress->draw(done);
        }
    }

    void end() {
        if (m_progress) {
            m_progress->erase();
            writeHeld();
        }
    }

private:
    void writeHeld() {
        for (const auto& [stream, text] : m_held) {
            *stream << text;
        }
        m_held.clear();
        m_out.flush();
    }

    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<Progress>& m_progress;
    std::vector<std::pair<std::ostream*, std::string>> m_held;
};

}  // namespace

std::string reviewLine(std::size_t withFindings, std::size_t total, bool summary) {
    if (withFindings == 0) {
        return {};
    }
    // Without a summary there is none to see: say how to get one.
    return std::to_string(withFindings) + " of " + std::to_string(total) +
           " files have review findings " +
           (summary ? "(see the summary)" : "(--summary FILE.csv lists them)") + '\n';
}

int runBatch(const Options& options, const BatchInputs& batch, std::ostream& out, std::ostream& err,
             const Terminal& terminal) {
    const std::string date = options.date ? *options.date : todayShortDate();
    // A folder that cannot be made or opened shows up as a failed save of each report.
    GeneratedFolder folder(*options.outDir);
    // No report or sheet may take the place of an input file of the batch.
    folder.protect(batch.identities);

    std::optional<BatchSummary> summary;
    std::optional<StreamedFile> summaryFile;
    std::string row;
    if (options.summary) {
        summary.emplace(*summaryFormatOf(*options.summary));
        summaryFile.emplace(*options.summary);
        summaryFile->append(summary->header());
    }

    const std::size_t total = batch.inputs.size();
    std::optional<Progress> progress;
    if (options.progress.value_or(terminal.errIsTerminal) && total > 1) {
        progress.emplace(err, total, terminal.columns);
    }
    BatchOutput lines(out, err, progress);

    bool anyStopped = false;
    std::size_t withFindings = 0;
    // Report names already claimed by an earlier input of this batch.
    std::unordered_set<std::string_view> claimed;
    claimed.reserve(total);
    std::string path;
    for (std::size_t i = 0; i < total; ++i) {
        const BatchInput& input = batch.inputs[i];
        const std::string name = quotedName(input.file);
        RatedSlab slab;
        slab.file = input.file;
        std::optional<RatingResult> result;
        std::string writeError;
        const auto stop = [&](SlabOutcome outcome, std::string_view message) {
            lines.line(false, name + ": " + std::string(message) + '\n');
            anyStopped = true;
            slab.outcome = outcome;
            slab.message = message;
        };
        [&] {
            if (input.unreadableFolder) {
                stop(SlabOutcome::FileNotFound, kFileNotFoundMessage);
                return;
            }
            if (!claimed.insert(input.reportName()).second) {
                stop(SlabOutcome::SameName, kSameNameMessage);
                return;
            }
            const ReadResult read = ReadInputFile(input.file, slab.fields);
            if (read.stopped()) {
                stop(read.outcome == ReadOutcome::InvalidInput ? SlabOutcome::InvalidInput
                                                               : SlabOutcome::FileNotFound,
                     read.messages.front());
                return;
            }
            for (const std::string& message : read.messages) {
                lines.line(true, name + ": " + message + '\n');
            }

            result.emplace(RunRating(slab.fields, date));
            slab.result = &*result;
            if (result->outcome != RunOutcome::Complete) {
                stop(slabOutcome(result->outcome), result->message);
                return;
            }
            path.assign(input.reportName());
            path += ".qro";
            if (const WriteResult written = folder.write(path, savedReportBytes(result->report));
                !written) {
                writeError = writeReason(written);
                stop(SlabOutcome::NotSaved, kSaveFailedMessage);
                return;
            }
            if (options.calc) {
                path.assign(input.reportName());
                path += ".html";
                if (const WriteResult written = folder.write(path, calcSheetHtml(slab)); !written) {
                    writeError = "calculation sheet: " + writeReason(written);
                    stop(SlabOutcome::NotSaved, kSheetNotSavedMessage);
                    return;
                }
            }
            lines.line(false, name + ": HS20 operating " +
                                  hs20OperatingTonsText(*result->rating.hs20) + " tons\n");
        }();
        if (result && !result->findings.empty()) {
            ++withFindings;
        }
        if (summary) {
            row.clear();
            summary->appendRow(row, slab, writeError);
            summaryFile->append(row);
        }
        lines.tick(i + 1);
    }
    lines.end();
    if (summaryFile && !summaryFile->finish()) {
        err << quotedName(*options.summary) << ": " << kSaveFailedMessage << '\n';
        anyStopped = true;
    }
    err << reviewLine(withFindings, total, summary.has_value());
    return finish(out, err, anyStopped ? 1 : 0);
}

}  // namespace slabrating::cli
