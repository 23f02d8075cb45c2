// The probe's buffer round trip, as end-to-end scripts use it.
#include "tests/editor/BufferTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

using zov::editor::test::TempFolder;

namespace {

zov::test::ProcessResult Probe(std::vector<std::string> args)
{
    args.insert(args.begin(), "buffer-roundtrip");
    zov::test::ChildProcess probe(std::string(ZOV_BIN_DIR) + "/zovprobe", args);
    return probe.Finish();
}

}  // namespace

TEST(ProbeRoundTrip, PrintsLinesAndModeAndSavesInThatMode)
{
    TempFolder folder;
    struct Case {
        const char* bytes;
        const char* printed;
        const char* saved;
    };
    const Case cases[] = {
        {"a\r\nb\nc", "lines=3 mode=DOS\n", "a\r\nb\r\nc"},
        {"a\nb\n", "lines=3 mode=UNIX\n", "a\nb\n"},
        {"a\rb", "lines=2 mode=MAC\n", "a\rb"},
        {"", "lines=1 mode=DOS\n", ""},
    };
    for (const Case& c : cases) {
        const auto in = folder.Path() / "in.qzs";
        const auto out = folder.Path() / "out.qzs";
        zov::test::WriteFile(in, c.bytes);
        const auto result = Probe({in.string(), out.string()});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, c.printed);
        EXPECT_EQ(zov::test::ReadFile(out), c.saved);
    }
}

TEST(ProbeRoundTrip, FailsOnAMissingFileAndOnBadUsage)
{
    TempFolder folder;
    const auto result = Probe({(folder.Path() / "missing").string(), (folder.Path() / "out").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out"));
    EXPECT_EQ(Probe({"only-one"}).exitCode, 2);
}
