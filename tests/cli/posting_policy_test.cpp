// The posting policy file: every key and its default, and each way a file is refused with
// its line.
#include "cli/posting_policy.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/support.h"

namespace slabrating::cli {
namespace {

TEST(PostingPolicyFile, KeysAndDefaults) {
    const PolicyRead empty = parsePostingPolicy("", "p.toml");
    ASSERT_TRUE(empty.policy) << empty.error;
    EXPECT_EQ(empty.policy->level, PostingLevel::Operating);
    EXPECT_EQ(empty.policy->rounding, SignRounding::DownToWholeTon);
    EXPECT_EQ(empty.policy->closureTons, 3.0);
    EXPECT_TRUE(empty.policy->postEmergencyVehicles);
    EXPECT_EQ(empty.policy->sign, SignStyle::PerTruck);
    EXPECT_EQ(empty.policy->source, "p.toml");

    const PolicyRead all = parsePostingPolicy(
        "# agency policy\nlevel = \"inventory\"\nrounding = \"none\"\n"
        "closure_threshold_tons = 2.5\npost_emergency_vehicles = false\nsign = \"gross\"\n",
        "a.toml");
    ASSERT_TRUE(all.policy) << all.error;
    EXPECT_EQ(all.policy->level, PostingLevel::Inventory);
    EXPECT_EQ(all.policy->rounding, SignRounding::None);
    EXPECT_EQ(all.policy->closureTons, 2.5);
    EXPECT_FALSE(all.policy->postEmergencyVehicles);
    EXPECT_EQ(all.policy->sign, SignStyle::Gross);

    const PolicyRead none = parsePostingPolicy("closure_threshold_tons = \"none\"\n", "n.toml");
    ASSERT_TRUE(none.policy);
    EXPECT_FALSE(none.policy->closureTons);
    EXPECT_EQ(parsePostingPolicy("closure_threshold_tons = 0\n", "z.toml").policy->closureTons,
              0.0);
}

TEST(PostingPolicyFile, RefusedWithItsLine) {
    struct Row {
        const char* name;
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"unknown key", "level = \"operating\"\nlevle = 3\n", "p.toml:2: unknown key 'levle'"},
        {"key twice", "sign = \"gross\"\n\nsign = \"per-truck\"\n",
         "p.toml:3: a key is given twice (Error while parsing key-value pair: cannot redefine "
         "existing string 'sign')"},
        {"level out of range", "level = \"legal\"\n",
         "p.toml:1: level must be \"operating\" or \"inventory\""},
        {"threshold above the heaviest vehicle", "closure_threshold_tons = 43.5\n",
         "p.toml:1: closure_threshold_tons must be \"none\" or a number of tons from 0 to 43"},
        {"negative threshold", "closure_threshold_tons = -1\n",
         "p.toml:1: closure_threshold_tons must be \"none\" or a number of tons from 0 to 43"},
        {"threshold as text", "closure_threshold_tons = \"3\"\n",
         "p.toml:1: closure_threshold_tons must be \"none\" or a number of tons from 0 to 43"},
        {"flag as text", "post_emergency_vehicles = \"yes\"\n",
         "p.toml:1: post_emergency_vehicles must be true or false"},
        {"a table", "[policy]\nlevel = \"operating\"\n", "p.toml:1: unknown key 'policy'"},
        {"not TOML", "level = \n", "p.toml:1: Error while parsing key-value pair: expected value"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PolicyRead read = parsePostingPolicy(row.text, "p.toml");
        EXPECT_FALSE(read.policy);
        EXPECT_EQ(read.error.substr(0, std::string(row.error).size()), row.error);
    }
}

TEST(PostingPolicyFile, FilesThatCannotBeRead) {
    support::TempDir dir;
    EXPECT_EQ(readPostingPolicy(dir.path("none.toml")).error,
              dir.path("none.toml") + ": the posting policy file cannot be read");
    EXPECT_EQ(readPostingPolicy(dir.dir().string()).error,
              dir.dir().string() + ": is a folder, not a posting policy file");
    support::writeBytes(dir.path("big.toml"), std::string(70000, '#'));
    EXPECT_EQ(readPostingPolicy(dir.path("big.toml")).error,
              dir.path("big.toml") + ": too long for a posting policy file");
    support::writeBytes(dir.path("ok.toml"), "level = \"inventory\"\n");
    const PolicyRead ok = readPostingPolicy(dir.path("ok.toml"));
    ASSERT_TRUE(ok.policy) << ok.error;
    EXPECT_EQ(ok.policy->level, PostingLevel::Inventory);
}

}  // namespace
}  // namespace slabrating::cli
