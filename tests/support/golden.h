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

/// Expects `actual` to equal the golden file byte for byte; on a mismatch writes the
/// actual text to <temp>/<name>.actual and shows a diff with the line ends visible.
inline void expectSameText(const std::filesystem::path& expectedFile, const std::string& actual) {
    if (readBytes(expectedFile) == actual) {
        return;
    }
    const std::filesystem::path actualFile =
        std::filesystem::temp_directory_path() / (expectedFile.filename().string() + ".actual");
    std::ofstream(actualFile, std::ios::binary) << actual;
    const std::string command =
        "diff -u '" + expectedFile.string() + "' '" + actualFile.string() + "' | cat -A";
    std::fflush(stdout);
    if (std::system(command.c_str()) != 0) {
        // the diff was shown
    }
    ADD_FAILURE() << "text differs from " << expectedFile << "; actual text in " << actualFile;
}

}  // namespace slabrating::golden
