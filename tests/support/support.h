#pragma once
// Fixtures shared by the test suites: a temporary folder, file bytes, the example record.

#include <filesystem>
#include <string>
#include <string_view>

namespace slabrating::support {

/// The worked example record of the input file: B-12-AC, load factor, state trucks.
inline constexpr std::string_view kExampleLine =
    "1B-12-AC JD 50           SH 50 OVER CREEK185001400012500031020030004000000150060";

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

private:
    std::filesystem::path m_dir;
};

/// The bytes of a file; "<missing>" when it cannot be read.
std::string readBytes(const std::filesystem::path& file);
/// Writes `bytes` as the whole file.
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace slabrating::support
