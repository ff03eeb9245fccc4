// libFuzzer target: the whole command-line tool in memory, with arbitrary arguments and
// standard input. The bytes before the first "\0\0" are the arguments, separated by NUL
// bytes; the rest is standard input. The tool may write files where its arguments say, so
// it runs in a scratch folder of its own and no argument may name a path outside it; nor
// may a list of input paths read from standard input (--from -, --from0 -), since a folder
// named there is walked.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"

namespace {

namespace fs = std::filesystem;

// Arguments beyond these are dropped: more of them find nothing new.
constexpr std::size_t kMaxArguments = 24;

fs::path scratchFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "slabrating-fuzz-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) {
            std::abort();
        }
        return fs::path(pattern);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path scratch = scratchFolder();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t end = bytes.find(std::string_view("\0\0", 2));
    std::string_view argText = bytes.substr(0, end);
    const std::string_view input =
        end == std::string_view::npos ? std::string_view() : bytes.substr(end + 2);

    std::vector<std::string> args;
    while (args.size() < kMaxArguments) {
        const std::size_t cut = argText.find('\0');
        std::string arg(argText.substr(0, cut));
        // Every path stays inside the scratch folder: no slash, no parent folder.
        for (char& c : arg) {
            c = c == '/' ? '_' : c;
        }
        if (arg == "..") {
            arg = "_..";
        }
        args.push_back(std::move(arg));
        if (cut == std::string_view::npos) {
            break;
        }
        argText.remove_prefix(cut + 1);
    }

    std::string stdinBytes(input);
    for (const std::string& arg : args) {
        if (arg == "--from" || arg == "--from0") {
            for (std::size_t at = 0; at < stdinBytes.size(); ++at) {
                if (stdinBytes[at] == '/' || (stdinBytes[at] == '.' && at + 1 < stdinBytes.size() &&
                                              stdinBytes[at + 1] == '.')) {
                    stdinBytes[at] = '_';
                }
            }
        }
    }
    std::istringstream in{stdinBytes};
    std::ostringstream out;
    std::ostringstream err;
    const int status = slabrating::cli::run(args, in, out, err);
    if (status < 0 || status > 2) {
        std::abort();  // the exit status is 0, 1 or 2, nothing else
    }
    constexpr std::string_view kTryHelp = "\nTry 'slabrating-cli --help'.\n";
    if (status == 2 && (!out.str().empty() || !err.str().ends_with(kTryHelp))) {
        std::abort();  // a usage error writes its line and where the usage is, nothing else
    }

    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(scratch, ignored)) {
        fs::remove_all(entry.path(), ignored);
    }
    return 0;
}
