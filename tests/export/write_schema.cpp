// Writes the JSON result's schema, as the quantity table makes it, to the file named.
#include <cstdio>
#include <string>

#include "export/result_schema.h"
#include "files/file_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_schema FILE.json\n", stderr);
        return 2;
    }
    if (!slabrating::writeFileReplacing(argv[1], slabrating::resultSchemaText())) {
        std::fprintf(stderr, "%s: could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
