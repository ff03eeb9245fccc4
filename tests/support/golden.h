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

/// Expects `actual` to equal the golden file byte for byte; on a mismatch writes the
/// actual text to <temp>/<name>.actual and shows a diff with the line ends visible.
inline void expectSameText(const std::filesystem::path& expectedFile, const std::string& actual) {
    if (readBytes(expectedFile) == actual) {
        return;
    }
    const std::filesystem::path actualFile =
        showDiff(expectedFile, actual, expectedFile.filename().string());
    ADD_FAILURE() << "text differs from " << expectedFile << "; actual text in " << actualFile;
}

}  // namespace slabrating::golden
