#include <istream>
#include <optional>
#include <ostream>

#include "cli/parts.h"
#include "engine/field_table.h"
#include "engine/findings.h"
#include "engine/rating_run.h"
#include "export/calc_sheet.h"
#include "export/inventory.h"
#include "export/json_result.h"
#include "export/rated_slab.h"
#include "files/file_writer.h"
#include "inputfile/inputfile.h"

namespace slabrating::cli {

namespace {

void applySettings(const std::vector<FieldSetting>& settings, SlabFields& fields) {
    for (const FieldSetting& setting : settings) {
        if (setting.name == kLoadTypeName) {
            fields.LoadType = *loadTypeText(setting.text);
        } else {
            fields.*fieldNamed(setting.name)->text = setting.text;
        }
    }
}

// The inventory record of one slab and its legal loads beside it; false when one could not
// be written (said on `err`).
bool writeInventory(const std::string& path, const RatedSlab& slab, std::ostream& err) {
    std::string items(inventoryHeader());
    std::string legal(legalLoadsHeader());
    appendInventoryRows(items, legal, slab);
    bool ok = true;
    for (const auto& [name, bytes] :
         {std::pair{path, &items}, std::pair{legalLoadsPathOf(path), &legal}}) {
        if (!writeFileReplacing(name, *bytes)) {
            err << name << ": " << kSaveFailedMessage << '\n';
            ok = false;
        }
    }
    return ok;
}

// Reads the fields from the command line's file ("-" for standard input), saying the reader's
// messages on `err`; the exit status when the reading stops the run.
std::optional<int> readSlab(const Options& options, std::istream& in, std::ostream& out,
                            std::ostream& err, RatedSlab& slab) {
    if (options.files.empty()) {
        return std::nullopt;
    }
    const std::string& file = options.files.front();
    if (file != "-") {
        slab.file = file;
    }
    const ReadResult read =
        file == "-" ? readInputStream(in, slab.fields) : ReadInputFile(file, slab.fields);
    for (const std::string& message : read.messages) {
        err << message << '\n';
    }
    if (!read.stopped()) {
        return std::nullopt;
    }
    if (options.format != OutputFormat::Json) {
        return 1;
    }
    slab.outcome = read.outcome == ReadOutcome::InvalidInput ? SlabOutcome::InvalidInput
                                                             : SlabOutcome::FileNotFound;
    slab.message = read.messages.front();
    out << slabJsonText(slab) << '\n';
    return finish(out, err, 1);
}

// The calculation sheet and the inventory record the options ask for; false when one could
// not be written (said on `err`).
bool writeRequestedFiles(const Options& options, const RatedSlab& slab, std::ostream& err) {
    bool ok = true;
    if (options.calcFile && !writeFileReplacing(*options.calcFile, calcSheetHtml(slab))) {
        err << *options.calcFile << ": " << kSaveFailedMessage << '\n';
        ok = false;
    }
    if (options.inventory && !writeInventory(*options.inventory, slab, err)) {
        ok = false;
    }
    return ok;
}

// Rates the slab, writes its report (or JSON result), its messages and findings and the files
// the options ask for; the exit status.
int rateSlab(const Options& options, RatedSlab& slab, std::ostream& out, std::ostream& err) {
    const std::string date = options.date ? *options.date : todayShortDate();
    const RatingResult result = RunRating(slab.fields, date, options.runSettings);
    slab.outcome = slabOutcome(result.outcome);
    slab.message = result.message;
    slab.result = &result;
    if (options.format == OutputFormat::Json) {
        out << slabJsonText(slab) << '\n';
    } else {
        out << result.report;
    }
    if (result.outcome != RunOutcome::Complete) {
        err << result.message << '\n';
    }
    // The review findings stand beside the rating: they change neither the output nor the
    // exit status.
    err << findingLines(result.findings);
    int status = result.outcome == RunOutcome::Complete ? 0 : 1;
    if (!writeRequestedFiles(options, slab, err)) {
        status = 1;
    }
    return finish(out, err, status);
}

}  // namespace

std::string findingLines(const std::vector<Finding>& findings) {
    std::string lines;
    for (const Finding& finding : findings) {
        lines += severityName(finding.severity);
        lines += ": ";
        lines += finding.message;
        lines += '\n';
    }
    return lines;
}

int runOne(const Options& options, std::istream& in, std::ostream& out, std::ostream& err) {
    RatedSlab slab;
    if (const std::optional<int> stopped = readSlab(options, in, out, err, slab)) {
        return *stopped;
    }
    applySettings(options.settings, slab.fields);
    if (options.saveInput) {
        const SaveResult saved = SaveInputFile(slab.fields, *options.saveInput);
        if (saved.outcome != SaveOutcome::Saved) {
            err << saved.message << '\n';
            return 1;
        }
        return 0;
    }
    return rateSlab(options, slab, out, err);
}

}  // namespace slabrating::cli
