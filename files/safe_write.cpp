#include "files/safe_write.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace slabrating {

namespace {

namespace fs = std::filesystem;

// A name for the temporary file that no other writer, in this process or another,
// picks at the same time: a per-process random token and a counter.
std::string temporaryName(const std::string& target) {
    static const std::uint64_t token = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }();
    static std::atomic<std::uint64_t> counter{0};
    static constexpr char kHex[] = "0123456789abcdef";

    std::string name = target;
    name += ".~";
    for (std::uint64_t value = token, i = 0; i < 16; ++i, value >>= 4) {
        name += kHex[value & 0xF];
    }
    name += '-';
    std::uint64_t count = counter.fetch_add(1, std::memory_order_relaxed);
    do {
        name += kHex[count & 0xF];
        count >>= 4;
    } while (count != 0);
    return name;
}

bool writeWhole(std::FILE* file, std::string_view bytes) {
    // Unbuffered: the bytes go out in one write, with no buffer to allocate.
    std::setvbuf(file, nullptr, _IONBF, 0);
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

// Permissions of a file this process creates (they follow the process's file mode
// mask), learnt from the first temporary file, so that an old file's permissions
// are copied only when they differ.
fs::perms createdPermissions(const std::string& created) {
    static std::atomic<int> known{-1};
    int value = known.load(std::memory_order_relaxed);
    if (value < 0) {
        std::error_code error;
        const fs::file_status status = fs::status(created, error);
        if (error) {
            return fs::perms::unknown;
        }
        value = static_cast<int>(status.permissions());
        known.store(value, std::memory_order_relaxed);
    }
    return static_cast<fs::perms>(value);
}

}  // namespace

bool writeFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    std::string target = path;
    fs::file_status existing = fs::symlink_status(target, error);
    // A link stays a link: the new file replaces the file it points to.
    if (fs::is_symlink(existing)) {
        const fs::path resolved = fs::weakly_canonical(target, error);
        if (!error) {
            target = resolved.string();
        }
        existing = fs::status(target, error);
    }

    // The temporary name is new each try; "x" refuses to open a file that exists.
    constexpr int kAttempts = 8;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string temporary = temporaryName(target);
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
        if (file == nullptr) {
            continue;
        }
        bool ok = writeWhole(file, bytes);
        // The replacement keeps the permissions of the file it replaces.
        if (ok && fs::is_regular_file(existing) &&
            existing.permissions() != createdPermissions(temporary)) {
            fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
            ok = !error;
        }
        if (ok) {
            fs::rename(temporary, target, error);
            ok = !error;
        }
        if (!ok) {
            std::remove(temporary.c_str());
        }
        return ok;
    }
    return false;
}

}  // namespace slabrating
