// The batch's report files: every target ends up holding exactly its new report, with
// the permissions it had, however the writer got it there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/report_files.h"

namespace slabrating::cli {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ReportFilesTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("slabrating-report-files-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

TEST_F(ReportFilesTest, NewAndExistingTargetsHoldTheirNewReports) {
    const fs::path a = m_dir / "a.qro", b = m_dir / "b.qro", c = m_dir / "c.qro";
    std::ofstream(a) << "an old report that is longer than the new one\r\n";
    std::ofstream(b) << "old\r\n";
    fs::permissions(b, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    {
        ReportFileWriter writer;
        ASSERT_TRUE(writer.write(a.string(), "new A\r\n"));
        ASSERT_TRUE(writer.write(b.string(), "a new, longer report for B\r\n"));
        ASSERT_TRUE(writer.write(c.string(), "new C\r\n"));
        ASSERT_TRUE(writer.write(a.string(), "newer A\r\n"));
    }
    EXPECT_EQ(contents(a), "newer A\r\n");
    EXPECT_EQ(contents(b), "a new, longer report for B\r\n");
    EXPECT_EQ(contents(c), "new C\r\n");
    EXPECT_EQ(fs::status(b).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // Nothing of the writer's own is left behind.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 3u);
}

TEST_F(ReportFilesTest, ALinkedReportReplacesTheFileTheLinkNames) {
    const fs::path real = m_dir / "real.qro", link = m_dir / "link.qro";
    std::ofstream(real) << "old\r\n";
    fs::create_symlink(real, link);
    ReportFileWriter writer;
    ASSERT_TRUE(writer.write(link.string(), "new\r\n"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(real), "new\r\n");
}

TEST_F(ReportFilesTest, AFolderThatIsMissingFails) {
    ReportFileWriter writer;
    EXPECT_FALSE(writer.write((m_dir / "missing" / "a.qro").string(), "x"));
}

}  // namespace
}  // namespace slabrating::cli
