// Batch rating from files: N input files in a temporary folder, rated and their
// reports written by the command-line tool's batch form, as an agency re-rates
// its inventory. Reports files per second (items_per_second).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

namespace fs = std::filesystem;

// Four slabs of both methods, with and without a truck table and the thickness warning.
constexpr const char* kRecords[] = {
    "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060\r\n",
    "2 S-1001ABC 12 B0001        LF END TO END120000800006500062020040006000000150062\r\n",
    "2  C-417 MK281WS2026   OLD WS SLAB US 281160000800006000050030012002000010150050\r\n",
    "1 W-2002 RS 35        WORKING STRESS SLAB100000800006500062020012002000010150062\r\n",
};

// Swallows the per-file status lines so the console does not take part in the timing.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

class BatchFolder {
public:
    // `summary`: the name of the batch's summary file; empty for none.
    BatchFolder(const fs::path& parent, std::size_t count, const std::string& summary) {
        m_dir = parent / ("slabrating-bench-batch-" + std::to_string(count));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "in");
        m_args = {"--date", "01/02/2024", "--out", (m_dir / "out").string()};
        if (!summary.empty()) {
            m_args.insert(m_args.end(), {"--summary", (m_dir / summary).string()});
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::string path =
                (m_dir / "in" / ("slab" + std::to_string(i) + ".qri")).string();
            std::FILE* file = std::fopen(path.c_str(), "wb");
            std::fputs(kRecords[i % std::size(kRecords)], file);
            std::fclose(file);
            m_args.push_back(path);
        }
    }
    ~BatchFolder() { fs::remove_all(m_dir); }
    const std::vector<std::string>& args() const { return m_args; }

private:
    fs::path m_dir;
    std::vector<std::string> m_args;
};

// `parent`: the folder that holds the input and report files; empty for the
// system's temporary folder. `summary`: the summary file's name; empty for none.
void batchRating(benchmark::State& state, const char* parent, const char* summary) {
    const fs::path parentDir = *parent != '\0' ? fs::path(parent) : fs::temp_directory_path();
    std::error_code error;
    if (!fs::is_directory(parentDir, error)) {
        state.SkipWithError("no such folder");
        return;
    }
    const auto count = static_cast<std::size_t>(state.range(0));
    const BatchFolder folder(parentDir, count, summary);
    NullBuffer nothing;
    std::ostream out(&nothing);
    std::ostream err(&nothing);
    std::istream in(&nothing);
    // One untimed batch warms the disk cache and creates the report files.
    if (slabrating::cli::run(folder.args(), in, out, err) != 0) {
        state.SkipWithError("the batch did not rate every file");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(slabrating::cli::run(folder.args(), in, out, err));
    }
    state.counters["files_per_second"] = benchmark::Counter(
        static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
}
// On the disk's file system, creating and renaming files costs what the disk's
// journal costs; in memory (tmpfs) the figure is the program's own cost. A summary
// must keep the batch at 0.8 of its rate without one, or faster.
BENCHMARK_CAPTURE(batchRating, temp_folder, "", "")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(batchRating, temp_folder_csv_summary, "", "summary.csv")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(batchRating, temp_folder_jsonl_summary, "", "summary.jsonl")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(batchRating, memory_folder, "/dev/shm", "")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(batchRating, memory_folder_csv_summary, "/dev/shm", "summary.csv")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(batchRating, memory_folder_jsonl_summary, "/dev/shm", "summary.jsonl")
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
