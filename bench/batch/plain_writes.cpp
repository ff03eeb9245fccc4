// The floor of a batch's writing: the same report files written by a plain loop of
// create, write and close into a fresh folder, with none of the batch's guarantees.
//   slabrating_plain_writes REPORT_DIR FRESH_DIR   prints files a second
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: slabrating_plain_writes REPORT_DIR FRESH_DIR\n");
        return 2;
    }
    const std::string from = argv[1];
    const std::string to = argv[2];
    std::vector<std::pair<std::string, std::string>> files;
    DIR* dir = ::opendir(from.c_str());
    if (dir == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.ends_with(".qro")) {
            std::ifstream in(from + "/" + name, std::ios::binary);
            files.emplace_back(to + "/" + name,
                               std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
    ::closedir(dir);
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [path, bytes] : files) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::close(fd) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.0f\n", static_cast<double>(files.size()) / took.count());
    return 0;
}
