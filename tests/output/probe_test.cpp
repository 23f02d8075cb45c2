// zovprobe's trace commands, as scripts and end-to-end checks use them.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ChildProcess.h"

namespace {

const std::string kProbe = std::string(ZOV_BIN_DIR) + "/zovprobe";
const std::filesystem::path kFixtures = std::filesystem::path(ZOV_SOURCE_DIR) / "tests/output/fixtures";

TEST(ProbeTrace, TextSaveBecomesTheCsvSave)
{
    zov::test::ChildProcess probe(kProbe, {"trace-csv", (kFixtures / "saved_traces.txt").string()});
    const zov::test::ProcessResult result = probe.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "10:00:00.000;1;;start\n10:00:00.001;1;14;value; 3\n10:00:00.002;12;7;padded\n");
}

TEST(ProbeTrace, MissingFileIsAClearError)
{
    zov::test::ChildProcess probe(kProbe, {"trace-csv", "/no/such/traces.txt"});
    const zov::test::ProcessResult result = probe.Finish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot read /no/such/traces.txt"), std::string::npos);
}

TEST(ProbeTrace, LayoutShowsEveryDisplayLine)
{
    zov::test::ChildProcess probe(kProbe, {"trace-layout", "3", "9", "a\\nb"});
    const zov::test::ProcessResult result = probe.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "00:00:00.000 (3) |[0009] a\n00:00:00.000 (3) |[0009] b\nkept a\\nb\\n\n");
    zov::test::ChildProcess oneLine(kProbe, {"trace-layout", "--one-line", "3", "-1", "a\\nb"});
    EXPECT_EQ(oneLine.Finish().out, "00:00:00.000 (3) |a\\nb\nkept a\\nb\\n\n");
}

}  // namespace
