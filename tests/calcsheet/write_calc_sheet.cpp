// Test tool: writes the calculation sheet of one input file, for the browser test and the
// README pictures. Usage: write_calc_sheet INPUT.qri OUTPUT.html [DATE]
#include <fstream>
#include <iostream>

#include "engine/rating_run.h"
#include "export/calc_sheet.h"
#include "inputfile/inputfile.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: write_calc_sheet INPUT.qri OUTPUT.html [DATE]\n";
        return 2;
    }
    using namespace slabrating;
    RatedSlab slab;
    slab.file = argv[1];
    const ReadResult read = ReadInputFile(slab.file, slab.fields);
    if (read.stopped()) {
        std::cerr << read.messages.front() << '\n';
        return 1;
    }
    const RatingResult result = RunRating(slab.fields, argc == 4 ? argv[3] : "12/07/2026");
    slab.outcome = slabOutcome(result.outcome);
    slab.message = result.message;
    slab.result = &result;
    std::ofstream out(argv[2], std::ios::binary);
    out << calcSheetHtml(slab);
    return out.flush() ? 0 : 1;
}
