#pragma once
// Fixtures shared by the test suites: a temporary folder, file bytes, the example record.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fields.h"

namespace slabrating::support {

/// The worked example record of the input file: B-12-AC, load factor, state trucks.
inline constexpr std::string_view kExampleLine =
    "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060";

/// The worked example as a user types it: structure B-12-AC, 18.5 ft span, 14 in slab,
/// f'c 3000 psi, Fy 40000 psi, state trucks (the record `kExampleLine`).
SlabFields exampleFields();

/// The same as the input-file reader gives it back: texts as they stand in their columns,
/// the modular ratio's columns "00".
SlabFields exampleFieldsAsRead();

/// `f` with the named fields (by their `--set` names, the load type too) set to these texts.
SlabFields changed(SlabFields f, const std::map<std::string, std::string>& texts);

/// The worked load factor strip: 8 in slab, 2 in overlay, 12 ft span, 0.62 sq in top and
/// bottom steel at 6.5 and 1.5 in, f'c 4000, Fy 60000, no modular ratio, no load type.
SlabFields loadFactorStrip();
/// The worked working stress strip: the same slab on a 10 ft span, allowables 1200 and
/// 20000 psi, modular ratio 10.
SlabFields workingStressStrip();

/// One bundled example: a slab's input file and its hand-written expected report.
struct Example {
    std::filesystem::path input;   ///< examples/<name>.qri
    std::filesystem::path report;  ///< examples/<name>.qro, dated 12/07/2026
};

/// The four bundled examples, whether or not their files are there (a missing one fails
/// its golden comparison instead of being skipped).
std::vector<Example> examples();

/// The date the bundled examples' reports carry in their header.
inline constexpr std::string_view kExampleDate = "12/07/2026";

/// The engine's report of the example's input file, as a saved `.qro` (the report and one
/// more CR LF), dated `date`; "<missing>" when the file cannot be read. The engine suite
/// pins it once to the hand-written `example.report`; the command line and the windows
/// compare what they write and show with this, so a change of the report's layout fails
/// that one suite and not all of them.
std::string engineReport(const Example& example, std::string_view date = kExampleDate);

/// A fresh folder of its own, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& dir() const { return m_dir; }
    /// The path of `name` inside the folder, as text.
    std::string path(std::string_view name) const;
    /// The names in the folder, sorted (hidden ones too).
    std::string listing() const;
    /// The same for any folder.
    static std::string listingOf(const std::filesystem::path& folder);

private:
    std::filesystem::path m_dir;
};

/// The bytes of a file; "<missing>" when it cannot be read.
std::string readBytes(const std::filesystem::path& file);
/// Writes `bytes` as the whole file.
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace slabrating::support
