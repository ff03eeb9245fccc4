#include "cli/inputs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <system_error>

#include "cli/locale_text.h"

namespace slabrating::cli {

namespace {

namespace fs = std::filesystem;

// A file found in a folder, by its path relative to the folder.
struct Found {
    std::string relative;
    InputKind kind = InputKind::File;
    bool link = false;  // a link to a plain file
    int error = 0;
};

bool isSpecialType(unsigned char type) {
    return type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
}

// Input files are .qri files; a folder's are found in any case of the extension, as a
// folder copied from another system may hold them.
bool isInputName(std::string_view name) {
    if (name.size() <= 4 || name[name.size() - 4] != '.') {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(name[name.size() - 3]) == 'q' && lower(name[name.size() - 2]) == 'r' &&
           lower(name[name.size() - 1]) == 'i';
}

// Every .qri file under `root`/`relative`, subfolders included; a link to a folder is not
// followed (a loop of links would never end), a link to a file is an input like the file.
// A .qri name that leads nowhere readable (a dangling link, a link loop) or to no plain
// file (a FIFO, a socket, a device) is a failed input, never opened. The kind of each
// entry comes with the listing, so a file costs no status call here.
void walk(const std::string& root, const std::string& relative, std::vector<Found>& found) {
    DIR* listing = ::opendir(relative.empty() ? root.c_str() : (root + '/' + relative).c_str());
    if (listing == nullptr) {
        found.push_back({relative, InputKind::UnreadableFolder, false, errno});
        return;
    }
    const int folder = ::dirfd(listing);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (entry == nullptr) {
            if (errno != 0) {
                found.push_back({relative, InputKind::UnreadableFolder, false, errno});
            }
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        unsigned char type = entry->d_type;
        struct stat status;
        if (type == DT_UNKNOWN &&
            ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
            type = S_ISDIR(status.st_mode)   ? DT_DIR
                   : S_ISREG(status.st_mode) ? DT_REG
                   : S_ISLNK(status.st_mode) ? DT_LNK
                                             : DT_FIFO;  // any kind that is no plain file
        }
        const std::string path =
            relative.empty() ? std::string(name) : relative + '/' + std::string(name);
        if (type == DT_DIR) {
            walk(root, path, found);
        } else if (!isInputName(name)) {
            continue;
        } else if (type == DT_REG) {
            found.push_back({path});
        } else if (isSpecialType(type)) {
            found.push_back({path, InputKind::NotPlainFile});
        } else if (type == DT_LNK) {
            if (::fstatat(folder, entry->d_name, &status, 0) != 0) {
                found.push_back({path, InputKind::Unreachable, false, errno});
            } else if (S_ISREG(status.st_mode)) {
                found.push_back({path, InputKind::File, true});
            } else if (!S_ISDIR(status.st_mode)) {
                found.push_back({path, InputKind::NotPlainFile});
            }
        }
    }
    ::closedir(listing);
}

// The report's name of an input named on its own: its file name without the extension.
BatchInput namedInput(std::string file) {
    BatchInput input;
    const std::size_t slash = file.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    input.reportStart = static_cast<std::uint32_t>(start);
    input.reportLength =
        static_cast<std::uint32_t>(fs::path(file.substr(start)).stem().string().size());
    input.file = std::move(file);
    return input;
}

class Collector {
public:
    explicit Collector(BatchInputs& batch) : m_batch(batch) {}

    // One path as a user named it; false with `error` set for a folder without inputs.
    bool add(std::string path, std::string& error) {
        struct stat status;
        if (::stat(path.c_str(), &status) != 0) {
            BatchInput input = namedInput(std::move(path));
            // A file that is not there fails when it is read, with the reader's message.
            if (errno != ENOENT) {
                input.kind = InputKind::Unreachable;
                input.error = errno;
            }
            m_batch.inputs.push_back(std::move(input));
            return true;
        }
        if (!S_ISDIR(status.st_mode)) {
            BatchInput input = namedInput(std::move(path));
            if (S_ISREG(status.st_mode)) {
                m_batch.identities.emplace_back(status.st_dev, status.st_ino);
            } else {
                input.kind = InputKind::NotPlainFile;  // never opened: a FIFO would block
            }
            m_batch.inputs.push_back(std::move(input));
            return true;
        }
        std::vector<Found> found;
        walk(path, {}, found);
        if (found.empty()) {
            error = quotedName(path) + " holds no .qri file";
            return false;
        }
        std::sort(found.begin(), found.end(),
                  [](const Found& a, const Found& b) { return a.relative < b.relative; });
        std::string prefix = path;
        if (prefix.back() != '/') {
            prefix += '/';
        }
        for (Found& entry : found) {
            BatchInput input;
            input.file = entry.relative.empty() ? path : prefix + entry.relative;
            input.reportStart = static_cast<std::uint32_t>(prefix.size());
            input.kind = entry.kind;
            input.error = entry.error;
            input.reportLength = static_cast<std::uint32_t>(
                entry.relative.size() - (entry.kind == InputKind::UnreadableFolder ? 0 : 4));
            // A plain file found here is named *.qri, so no report (*.qro) or sheet (*.html)
            // can have its name; only a link can lead a report's name to it.
            if (entry.link && ::stat(input.file.c_str(), &status) == 0) {
                m_batch.identities.emplace_back(status.st_dev, status.st_ino);
            }
            m_batch.inputs.push_back(std::move(input));
        }
        return true;
    }

private:
    BatchInputs& m_batch;
};

// The bytes of a list: a file, or standard input for "-".
std::optional<std::string> readList(const std::string& name, std::istream& in) {
    if (name == "-") {
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        return bytes;
    }
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;  // a folder, or a read error
        }
        if (got == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

// Adds the paths of one list; the usage error when it has one.
std::string addList(const std::string& option, const std::string& name, char separator,
                    std::istream& in, std::ostream& err, Collector& collector) {
    const std::string title = option + ' ' + quotedName(name);
    const std::optional<std::string> bytes = readList(name, in);
    if (!bytes) {
        return title + " cannot be read";
    }
    const std::string_view what = separator == '\n' ? "line" : "name";
    std::size_t count = 0;
    std::size_t number = 0;
    std::string error;
    for (std::size_t at = 0; at < bytes->size();) {
        std::size_t end = bytes->find(separator, at);
        if (end == std::string::npos) {
            end = bytes->size();
        }
        std::string_view entry(bytes->data() + at, end - at);
        at = end + 1;
        ++number;
        if (separator == '\n' && entry.ends_with('\r')) {
            entry.remove_suffix(1);  // a list written with CR LF line ends
        }
        if (entry.find('\0') != std::string_view::npos) {
            return title + ": line " + std::to_string(number) +
                   " holds a NUL byte (names ended by NUL bytes need --from0)";
        }
        if (entry.empty()) {
            err << "slabrating-cli: " << title << ": " << what << ' ' << number
                << " is empty, skipped\n";
            continue;
        }
        ++count;
        if (!collector.add(std::string(entry), error)) {
            return error;
        }
    }
    if (count == 0) {
        return title + " names no input file";
    }
    return {};
}

}  // namespace

bool isFolder(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

CollectedInputs collectInputs(const Options& options, std::istream& in, std::ostream& err) {
    CollectedInputs result;
    Collector collector(result.batch);
    for (const std::string& file : options.files) {
        if (!collector.add(file, result.error)) {
            return result;
        }
    }
    if (options.fromList) {
        result.error = addList("--from", *options.fromList, '\n', in, err, collector);
    }
    if (result.error.empty() && options.fromList0) {
        result.error = addList("--from0", *options.fromList0, '\0', in, err, collector);
    }
    if (!result.error.empty()) {
        return result;
    }
    std::vector<GeneratedFolder::FileIdentity>& identities = result.batch.identities;
    std::sort(identities.begin(), identities.end());
    identities.erase(std::unique(identities.begin(), identities.end()), identities.end());
    return result;
}

}  // namespace slabrating::cli
