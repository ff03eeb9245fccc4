#include <signal.h>
#include <string.h>

#include <optional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cli/locale_text.h"
#include "cli/outputs.h"
#include "cli/parts.h"
#include "cli/progress.h"
#include "engine/rating_run.h"
#include "export/calc_sheet.h"
#include "export/inventory.h"
#include "export/rated_slab.h"
#include "export/summary.h"
#include "files/folder_writer.h"
#include "files/stop_signals.h"
#include "files/streamed_file.h"
#include "inputfile/inputfile.h"

namespace slabrating::cli {

namespace {

// Two inputs of one batch whose reports would have the same file.
constexpr std::string_view kSameNameMessage =
    "Error: Another input file of this batch has the same name.";

// Why a report or sheet was not written, as the summary's write_error column says it.
std::string writeReason(const WriteResult& written) {
    return written.step == WriteStep::Protected ? "an input file of this batch" : written.reason();
}

// The system's own English words for an error number, never translated.
std::string errorText(int error) {
    const char* text = ::strerrordesc_np(error);
    return text != nullptr ? text : "error " + std::to_string(error);
}

// Why an input was not read: the reader's own "File not found." for a file that is not
// there; otherwise what stood in the way.
std::pair<SlabOutcome, std::string> readFailure(int error, std::string_view reason) {
    if (error == ENOENT) {
        return {SlabOutcome::FileNotFound, std::string(kFileNotFoundMessage)};
    }
    return {SlabOutcome::Unreadable, "Error: The file could not be read (" +
                                         (error != 0 ? errorText(error) : std::string(reason)) +
                                         ")."};
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
        m_out.flush();
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

// SIGPIPE ignored for the batch's life, so that a reader of its standard output that goes
// away (| head) makes a write fail, which the batch sees, instead of killing it.
class PipeSignalIgnored {
public:
    PipeSignalIgnored() {
        struct sigaction ignored = {};
        ignored.sa_handler = SIG_IGN;
        sigemptyset(&ignored.sa_mask);
        ::sigaction(SIGPIPE, &ignored, &m_previous);
    }
    PipeSignalIgnored(const PipeSignalIgnored&) = delete;
    PipeSignalIgnored& operator=(const PipeSignalIgnored&) = delete;
    ~PipeSignalIgnored() { ::sigaction(SIGPIPE, &m_previous, nullptr); }

private:
    struct sigaction m_previous;
};

// The work on one input, as its line and its summary row tell it.
struct InputWork {
    RatedSlab slab;
    std::optional<RatingResult> result;
    std::string writeError;  // why a report or sheet was not written
    std::string removed;     // what was removed of an earlier run's files
    bool failed = false;
};

class Batch {
public:
    Batch(const Options& options, const BatchInputs& batch, std::ostream& out, std::ostream& err,
          const Terminal& terminal)
        : m_options(options),
          m_batch(batch),
          m_out(out),
          m_err(err),
          m_terminal(terminal),
          m_lines(out, err, m_progress) {}

    std::string start();
    void rateAll();
    int end();

private:
    void rate(const BatchInput& input);
    bool read(const BatchInput& input, const std::string& name, InputWork& work);
    bool writeFiles(const BatchInput& input, InputWork& work);
    void fail(InputWork& work, SlabOutcome outcome, std::string message);
    void removeEarlier(const BatchInput& input, InputWork& work, bool report);
    std::string relative(const BatchInput& input, std::string_view extension) const;
    void record(const std::string& name, InputWork& work);
    std::string stopNote();
    std::string startInventory();
    bool finishInventory();

    const Options& m_options;
    const BatchInputs& m_batch;
    std::ostream& m_out;
    std::ostream& m_err;
    const Terminal& m_terminal;
    std::string m_date;
    PipeSignalIgnored m_pipe;
    files::StopSignalsCaught m_stops{files::StopSignalsCaught::FirstStop::Waits};
    std::vector<NamedOutput> m_named;
    std::optional<BatchSummary> m_summary;
    std::optional<StreamedFile> m_summaryFile;
    // The inventory record and its legal loads, streamed as the summary is.
    std::optional<StreamedFile> m_inventoryFile;
    std::optional<StreamedFile> m_legalLoadsFile;
    std::string m_legalRows;
    std::optional<GeneratedFolder> m_folder;
    std::optional<Progress> m_progress;
    BatchOutput m_lines;
    // Report names already claimed by an earlier input of this batch.
    std::unordered_set<std::string_view> m_claimed;
    std::string m_row;
    std::size_t m_done = 0;
    std::size_t m_rated = 0;
    std::size_t m_failed = 0;
    std::size_t m_withFindings = 0;
    bool m_outClosed = false;
};

// The outputs tried, the summary opened, the folder opened: the usage error that stops
// the batch before any report is written, empty when it may run.
std::string Batch::start() {
    m_date = m_options.date ? *m_options.date : todayShortDate();
    if (m_options.summary) {
        m_named.push_back({"--summary", *m_options.summary});
    }
    if (m_options.inventory) {
        m_named.push_back({"--inventory", *m_options.inventory});
        m_named.push_back({"--inventory", legalLoadsPathOf(*m_options.inventory)});
    }
    if (std::string problem = outputProblem(m_named, m_batch, *m_options.outDir);
        !problem.empty()) {
        return problem;
    }
    if (m_options.summary) {
        m_summary.emplace(*summaryFormatOf(*m_options.summary));
        m_summaryFile.emplace(*m_options.summary);
        if (const WriteResult opened = m_summaryFile->status(); !opened) {
            return "--summary " + quotedName(*m_options.summary) + " cannot be written (" +
                   opened.reason() + ")";
        }
        m_summaryFile->append(m_summary->header());
    }
    if (std::string problem = startInventory(); !problem.empty()) {
        return problem;
    }
    // A folder that cannot be made or opened shows up as a failed save of each report.
    m_folder.emplace(*m_options.outDir);
    // No report or sheet may take the place of an input file of the batch.
    m_folder->protect(m_batch.identities);
    const std::size_t total = m_batch.inputs.size();
    if (m_options.progress.value_or(m_terminal.errIsTerminal) && total > 1) {
        m_progress.emplace(m_err, total, m_terminal.columns);
    }
    m_claimed.reserve(total);
    return {};
}

// Every input in order, until the last, a stop signal or a closed standard output.
void Batch::rateAll() {
    for (const BatchInput& input : m_batch.inputs) {
        rate(input);
        ++m_done;
        m_lines.tick(m_done);
        m_outClosed = !m_out;
        if (m_outClosed || files::StopSignalsCaught::requested() != 0) {
            break;
        }
    }
    m_lines.end();
    m_outClosed = !m_out;
}

void Batch::rate(const BatchInput& input) {
    const std::string name = quotedName(input.file);
    InputWork work;
    work.slab.file = input.file;
    if (read(input, name, work)) {
        work.result.emplace(RunRating(work.slab.fields, m_date, m_options.runSettings));
        work.slab.result = &*work.result;
        if (work.result->outcome != RunOutcome::Complete) {
            fail(work, slabOutcome(work.result->outcome), work.result->message);
            removeEarlier(input, work, true);
        } else if (writeFiles(input, work)) {
            m_lines.line(false, name + ": HS20 operating " +
                                    hs20OperatingTonsText(*work.result->rating.hs20) + " tons\n");
        }
    }
    record(name, work);
}

// Why an input collected as no plain file, or none we could look at, is not read.
std::pair<SlabOutcome, std::string> collectedFailure(const BatchInput& input) {
    switch (input.kind) {
        case InputKind::NotPlainFile:
            return readFailure(0, "not a regular file");
        case InputKind::UnreadableFolder:
            return {SlabOutcome::Unreadable,
                    "Error: The folder could not be read (" + errorText(input.error) + ")."};
        case InputKind::Unreachable:
        case InputKind::File:
            break;
    }
    return readFailure(input.error, "");
}

// Reads the input's fields, its reader's messages said on standard error; false, its
// failure noted, when it gives none.
bool Batch::read(const BatchInput& input, const std::string& name, InputWork& work) {
    if (!m_claimed.insert(input.reportName()).second) {
        fail(work, SlabOutcome::SameName, std::string(kSameNameMessage));
        return false;  // the report of that name is the earlier input's: it stays
    }
    if (input.kind != InputKind::File) {
        auto [outcome, message] = collectedFailure(input);
        fail(work, outcome, std::move(message));
        if (input.kind != InputKind::UnreadableFolder) {
            removeEarlier(input, work, true);
        }
        return false;
    }
    const ReadResult read = ReadInputFile(input.file, work.slab.fields, InputOpening::NeverWait);
    if (read.stopped()) {
        auto [outcome, message] = read.outcome == ReadOutcome::InvalidInput
                                      ? std::pair(SlabOutcome::InvalidInput, read.messages.front())
                                      : readFailure(read.error, "empty");
        fail(work, outcome, std::move(message));
        removeEarlier(input, work, true);
        return false;
    }
    for (const std::string& message : read.messages) {
        m_lines.line(true, name + ": " + message + '\n');
    }
    return true;
}

// Writes the report and the sheet; false, the failure noted, when one was not written.
bool Batch::writeFiles(const BatchInput& input, InputWork& work) {
    const WriteResult report =
        m_folder->write(relative(input, ".qro"), savedReportBytes(work.result->report));
    if (!report) {
        if (report.step == WriteStep::WrittenThisRun) {
            fail(work, SlabOutcome::SameName, std::string(kSameNameMessage));
            return false;  // the file is an earlier input's report, under a folded name
        }
        work.writeError = writeReason(report);
        fail(work, SlabOutcome::NotSaved, std::string(kSaveFailedMessage));
        removeEarlier(input, work, true);
        return false;
    }
    if (!m_options.calc) {
        return true;
    }
    const std::string sheet = relative(input, ".html");
    if (const WriteResult written = m_folder->write(sheet, calcSheetHtml(work.slab)); !written) {
        work.writeError = "calculation sheet " + sheet + ": " + writeReason(written);
        fail(work, SlabOutcome::NotSaved,
             "Error: The report was saved, but its calculation sheet " + quotedName(sheet) +
                 " could not be saved (" + writeReason(written) + ").");
        removeEarlier(input, work, false);
        return false;
    }
    return true;
}

void Batch::fail(InputWork& work, SlabOutcome outcome, std::string message) {
    work.failed = true;
    work.slab.outcome = outcome;
    work.slab.message = std::move(message);
}

// An input that now fails leaves no report or sheet of an earlier run that would pass for
// this run's, as make deletes a target whose recipe failed.
void Batch::removeEarlier(const BatchInput& input, InputWork& work, bool report) {
    if (!m_folder) {
        return;
    }
    const bool reportGone =
        report && m_folder->remove(relative(input, ".qro")) == RemoveResult::Removed;
    const bool sheetGone = m_folder->remove(relative(input, ".html")) == RemoveResult::Removed;
    work.removed = reportGone && sheetGone ? "its earlier report and sheet removed"
                   : reportGone            ? "its earlier report removed"
                   : sheetGone             ? "its earlier sheet removed"
                                           : "";
}

std::string Batch::relative(const BatchInput& input, std::string_view extension) const {
    std::string path(input.reportName());
    path += extension;
    return path;
}

// The input's line when it failed, its summary row and the counts.
void Batch::record(const std::string& name, InputWork& work) {
    if (work.failed) {
        ++m_failed;
        m_lines.line(false, name + ": " + work.slab.message +
                                (work.removed.empty() ? "" : " (" + work.removed + ")") + '\n');
    } else {
        ++m_rated;
    }
    if (work.result && !work.result->findings.empty()) {
        ++m_withFindings;
    }
    if (m_summary) {
        m_row.clear();
        m_summary->appendRow(m_row, work.slab, work.writeError);
        m_summaryFile->append(m_row);
    }
    if (m_inventoryFile) {
        m_row.clear();
        m_legalRows.clear();
        appendInventoryRows(m_row, m_legalRows, work.slab);
        m_inventoryFile->append(m_row);
        m_legalLoadsFile->append(m_legalRows);
    }
}

// The inventory files opened with their headers; why they cannot be written, or empty.
std::string Batch::startInventory() {
    if (!m_options.inventory) {
        return {};
    }
    const std::string legal = legalLoadsPathOf(*m_options.inventory);
    m_inventoryFile.emplace(*m_options.inventory);
    m_legalLoadsFile.emplace(legal);
    for (const auto& [file, path] : {std::pair{&*m_inventoryFile, *m_options.inventory},
                                     std::pair{&*m_legalLoadsFile, legal}}) {
        if (const WriteResult opened = file->status(); !opened) {
            return "--inventory " + quotedName(path) + " cannot be written (" + opened.reason() +
                   ")";
        }
    }
    m_inventoryFile->append(inventoryHeader());
    m_legalLoadsFile->append(legalLoadsHeader());
    return {};
}

// The inventory files given their names; false when one could not be written (said).
bool Batch::finishInventory() {
    if (!m_inventoryFile) {
        return true;
    }
    const auto ours = [this](const std::string& target) { return m_folder->wrote(target); };
    bool ok = true;
    const std::size_t first = m_named.size() - 2;  // the two inventory outputs come last
    StreamedFile* files[] = {&*m_inventoryFile, &*m_legalLoadsFile};
    for (std::size_t i = 0; i < 2; ++i) {
        if (const WriteResult written = files[i]->finish(ours); !written) {
            const std::string aside = setAsideEarlier(m_named[first + i]);
            m_err << quotedName(m_named[first + i].path) << ": " << kSaveFailedMessage << " ("
                  << writeReason(written) << (aside.empty() ? "" : "; " + aside) << ")\n";
            ok = false;
        }
    }
    return ok;
}

// What a stop signal left undone, said on standard error; empty when none came.
std::string Batch::stopNote() {
    const int signal = files::StopSignalsCaught::requested();
    if (signal == 0) {
        return {};
    }
    std::string note = "slabrating-cli: stopped by SIG" + std::string(::sigabbrev_np(signal)) +
                       " after " + std::to_string(m_done) + " of " +
                       std::to_string(m_batch.inputs.size()) + " files";
    for (const NamedOutput& output : m_named) {
        note += "; " + output.option + ' ' + quotedName(output.path) + " was not written";
        if (const std::string aside = setAsideEarlier(output); !aside.empty()) {
            note += " (" + aside + ')';
        }
    }
    return note + '\n';
}

// The summary written (unless a stop signal came) and the closing lines; the exit status.
int Batch::end() {
    const std::string stopped = stopNote();
    bool anyFailed = m_failed > 0 || !stopped.empty();
    if (m_outClosed) {
        m_err << "slabrating-cli: standard output closed after " << m_done << " of "
              << m_batch.inputs.size() << " files: the batch stopped there\n";
        anyFailed = true;
    }
    m_err << stopped;
    if (stopped.empty() && m_summaryFile) {
        // The summary never replaces a report or sheet of this batch, whatever link leads to it.
        const auto ours = [this](const std::string& target) { return m_folder->wrote(target); };
        if (const WriteResult written = m_summaryFile->finish(ours); !written) {
            std::string aside = setAsideEarlier(m_named.front());
            m_err << quotedName(*m_options.summary) << ": " << kSaveFailedMessage << " ("
                  << writeReason(written) << (aside.empty() ? "" : "; " + aside) << ")\n";
            anyFailed = true;
        }
    }
    if (stopped.empty() && !finishInventory()) {
        anyFailed = true;
    }
    m_err << batchEndLine(m_rated, m_batch.inputs.size(), m_failed, m_withFindings);
    m_err.flush();
    return anyFailed ? 1 : 0;
}

}  // namespace

std::string batchEndLine(std::size_t rated, std::size_t total, std::size_t failed,
                         std::size_t withFindings) {
    return std::to_string(rated) + " of " + std::to_string(total) + " files rated, " +
           std::to_string(failed) + " failed, " + std::to_string(withFindings) +
           " with review findings\n";
}

int runBatch(const Options& options, const BatchInputs& inputs, std::ostream& out,
             std::ostream& err, const Terminal& terminal) {
    Batch batch(options, inputs, out, err, terminal);
    if (const std::string problem = batch.start(); !problem.empty()) {
        return usageFailure(err, problem);
    }
    batch.rateAll();
    return batch.end();
}

}  // namespace slabrating::cli
