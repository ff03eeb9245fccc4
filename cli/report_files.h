#pragma once

#include <string>
#include <string_view>

namespace slabrating::cli {

/// Writes the report files of a batch, each replacing its target safely: the target is
/// always either its old content or the complete new one.
///
/// Re-rating an inventory replaces thousands of existing report files. Freeing the
/// replaced file and allocating a new one for each costs the file system far more than
/// the rating, so where the platform can exchange two names atomically the writer keeps
/// the replaced file aside as a spare and writes the next report into it.
class ReportFileWriter {
public:
    ReportFileWriter() = default;
    ReportFileWriter(const ReportFileWriter&) = delete;
    ReportFileWriter& operator=(const ReportFileWriter&) = delete;
    /// Removes the spare file.
    ~ReportFileWriter();

    /// Writes `bytes` as the file `path`; false when it could not be written.
    bool write(const std::string& path, std::string_view bytes);

private:
    bool writeThroughSpare(const std::string& path, unsigned targetMode, std::string_view bytes);
    void dropSpare();

    std::string m_spare;       ///< a file of ours beside the last target, free for reuse
    std::string m_spareDir;    ///< the folder that holds it
    unsigned m_spareMode = 0;  ///< its permission bits
};

}  // namespace slabrating::cli
