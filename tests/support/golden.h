#pragma once
// Golden-file comparison shared by the GoogleTest suites.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/support.h"

namespace slabrating::golden {

using slabrating::support::readBytes;

/// Writes `actual` to <temp>/<name>.actual and shows a diff from `expectedFile`, with the
/// line ends visible; the path of the actual text.
inline std::filesystem::path showDiff(const std::filesystem::path& expectedFile,
                                      const std::string& actual, const std::string& name) {
    const std::filesystem::path actualFile =
        std::filesystem::temp_directory_path() / (name + ".actual");
    std::ofstream(actualFile, std::ios::binary) << actual;
    const std::string command =
        "diff -u '" + expectedFile.string() + "' '" + actualFile.string() + "' | cat -A";
    std::fflush(stdout);
    if (std::system(command.c_str()) != 0) {
        // the diff was shown
    }
    return actualFile;
}

/// True when SLABRATING_UPDATE_GOLDENS=1: a golden that differs is written anew from the
/// actual text (and the test still fails, so that the run says which ones changed).
inline bool updatingGoldens() {
    const char* update = std::getenv("SLABRATING_UPDATE_GOLDENS");
    return update != nullptr && std::string(update) == "1";
}

/// Expects `actual` to equal the golden file byte for byte; on a mismatch writes the
/// actual text to <temp>/<name>.actual and shows a diff with the line ends visible, or with
/// SLABRATING_UPDATE_GOLDENS=1 rewrites the golden file.
inline void expectSameText(const std::filesystem::path& expectedFile, const std::string& actual) {
    if (readBytes(expectedFile) == actual) {
        return;
    }
    if (updatingGoldens()) {
        std::ofstream(expectedFile, std::ios::binary) << actual;
        ADD_FAILURE() << "rewrote " << expectedFile;
        return;
    }
    const std::filesystem::path actualFile =
        showDiff(expectedFile, actual, expectedFile.filename().string());
    ADD_FAILURE() << "text differs from " << expectedFile << "; actual text in " << actualFile;
}

/// An HTML page with one element a line: a line end between every two adjacent tags, so
/// that a diff of two pages shows the element that differs.
inline std::string oneElementALine(const std::string& html) {
    std::string out;
    out.reserve(html.size() + html.size() / 16);
    for (std::size_t i = 0; i < html.size(); ++i) {
        out += html[i];
        if (html[i] == '>' && i + 1 < html.size() && html[i + 1] == '<') {
            out += '\n';
        }
    }
    return out;
}

}  // namespace slabrating::golden
