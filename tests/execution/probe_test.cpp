// zovprobe's run and dispatch commands, as scripts and end-to-end checks use them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ChildProcess.h"

namespace {

namespace fs = std::filesystem;

const std::string kProbe = std::string(ZOV_BIN_DIR) + "/zovprobe";
const fs::path kFixtures = fs::path(ZOV_SOURCE_DIR) / "tests/execution/fixtures";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProbeDispatch, TranscriptGivesTheGoldenEvents)
{
    zov::test::ChildProcess probe(kProbe, {"dispatch", (kFixtures / "dispatch.transcript").string(), "--record", "t1",
                                           "--qzi", (kFixtures / "dispatch.qzi").string()});
    const zov::test::ProcessResult result = probe.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, ReadFile(kFixtures / "dispatch.golden"));
}

TEST(ProbeDispatch, MissingTranscriptIsAClearError)
{
    zov::test::ChildProcess probe(kProbe, {"dispatch", "/no/such/transcript"});
    const zov::test::ProcessResult result = probe.Finish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot read /no/such/transcript"), std::string::npos);
}

class ProbeRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zov-probe-run-XXXXXX";
        root_ = ::mkdtemp(pattern);
        std::ofstream(root_ / "s.qzs") << "x = 1\ny = 2\ntrace(42)\nok(\"fin\")\n";
        std::ofstream(root_ / "i.qzi") << ";vide\n";
    }
    void TearDown() override { fs::remove_all(root_); }
    zov::test::ProcessResult Run(std::vector<std::string> options)
    {
        options.insert(options.begin(), "run");
        options.push_back((root_ / "s.qzs").string());
        options.push_back((root_ / "i.qzi").string());
        zov::test::ChildProcess probe(kProbe, options);
        return probe.Finish();
    }
    fs::path root_;
};

TEST_F(ProbeRun, PausesAtTheBreakpointAndContinuesToTheVerdict)
{
    const auto result = Run({"--bkp", "2", "--watch", "x", "--record", "t1"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string& out = result.out;
    for (const char* line : {"send setbkp -line 2 -state on\\n\\n\n", "paused 2\n", "send getval -name x\\n\n",
                             "var x 0 1\n", "send continue\\n\\n\n", "trace script 3 42\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
    EXPECT_LT(out.find("paused 2"), out.find("send continue"));
    EXPECT_NE(out.find("\nrecord 1 4 fin warnings=0 history=1\n"), std::string::npos) << out;
}

TEST_F(ProbeRun, ExitOnPauseStopsTheRun)
{
    const auto result = Run({"--bkp", "2", "--on-pause", "exit", "--record", "t1"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("send exit\\n\\n\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\nrecord 3 0  warnings=0 history=0\n"), std::string::npos) << result.out;
}

TEST_F(ProbeRun, VerifyGivesVerified)
{
    const auto result = Run({"--verify", "--record", "t1"});
    EXPECT_NE(result.out.find("send verify -val 1\\n\\n\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\nrecord 10 1  warnings=0 history=0\n"), std::string::npos) << result.out;
}

}  // namespace
