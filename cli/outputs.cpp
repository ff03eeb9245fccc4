#include "cli/outputs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "cli/locale_text.h"
#include "files/file_writer.h"
#include "files/streamed_file.h"
#include "files/system_calls.h"

namespace slabrating::cli {

namespace {

// How many folders up from a file we look for the output folder: deeper trees than this
// hold no inventory.
constexpr int kMaxDepth = 256;

// A name a batch gives its reports and sheets, in any case of the extension.
bool isReportOrSheetName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lower.ends_with(".qro") || lower.ends_with(".html");
}

// True when the folder `folderName` is `outDir` or lies under it, by device and inode.
bool isUnder(const std::string& folderName, const std::string& outDir) {
    struct stat out;
    if (::stat(outDir.c_str(), &out) != 0) {
        return false;  // no output folder yet: nothing can be under it
    }
    files::FileDescriptor folder(::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (int depth = 0; folder && depth < kMaxDepth; ++depth) {
        struct stat here;
        if (::fstat(folder.get(), &here) != 0) {
            return false;
        }
        if (here.st_dev == out.st_dev && here.st_ino == out.st_ino) {
            return true;
        }
        files::FileDescriptor parent(
            ::openat(folder.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat up;
        if (!parent || ::fstat(parent.get(), &up) != 0 ||
            (up.st_dev == here.st_dev && up.st_ino == here.st_ino)) {
            return false;  // the root of the file system
        }
        folder = std::move(parent);
    }
    return false;
}

std::string problemOf(const NamedOutput& output, const BatchInputs& batch,
                      const std::string& outDir) {
    const std::string title = output.option + ' ' + quotedName(output.path);
    struct stat status;
    if (::stat(output.path.c_str(), &status) == 0 &&
        std::binary_search(batch.identities.begin(), batch.identities.end(),
                           FileIdentity(status.st_dev, status.st_ino))) {
        return title + " is an input file";
    }
    const std::string target = files::followLinks(output.path);
    if (!target.empty() && isReportOrSheetName(files::nameOf(target)) &&
        isUnder(files::folderOf(target), outDir)) {
        return title + " would take the place of a report or sheet of this batch";
    }
    // The temporary the file will be written into, made now and dropped at once.
    if (const WriteResult tried = StreamedFile(output.path).status(); !tried) {
        return title + " cannot be written (" + tried.reason() + ")";
    }
    return {};
}

}  // namespace

std::string outputProblem(const std::vector<NamedOutput>& outputs, const BatchInputs& batch,
                          const std::string& outDir) {
    for (const NamedOutput& output : outputs) {
        if (std::string problem = problemOf(output, batch, outDir); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

std::string setAsideEarlier(const NamedOutput& output) {
    constexpr std::string_view kSuffix = ".incomplete";
    const std::string target = files::followLinks(output.path);
    switch (setAsideFile(output.path, kSuffix)) {
        case SetAside::Absent:
            return {};
        case SetAside::Renamed:
            return "the earlier one is now " + quotedName(target + std::string(kSuffix));
        case SetAside::Removed:
            return "the earlier one was removed";
        case SetAside::Kept:
            break;
    }
    return "the earlier one could not be set aside and is NOT this run's";
}

}  // namespace slabrating::cli
