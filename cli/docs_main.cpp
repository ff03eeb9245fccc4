// Writes the texts made from the option table: "completion OUT" writes the bash completion,
// "manual SOURCE OUT" the manual page SOURCE with its option list written anew.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/option_table.h"
#include "files/file_writer.h"

int main(int argc, char** argv) {
    const std::string_view what = argc > 1 ? argv[1] : "";
    std::string text;
    if (what == "completion" && argc == 3) {
        text = slabrating::cli::completionScript();
    } else if (what == "manual" && argc == 4) {
        std::ifstream source(argv[2], std::ios::binary);
        std::ostringstream page;
        page << source.rdbuf();
        if (!source) {
            std::fprintf(stderr, "%s: could not be read\n", argv[2]);
            return 1;
        }
        text = slabrating::cli::manualFromTables(page.str());
    } else {
        std::fputs("usage: slabrating-cli-docs completion OUT | manual SOURCE.scd OUT.scd\n",
                   stderr);
        return 2;
    }
    if (!slabrating::writeFileReplacing(argv[argc - 1], text)) {
        std::fprintf(stderr, "%s: could not be written\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
