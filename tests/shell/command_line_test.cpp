#include "ide/shell/core/CommandLine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

class CommandLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_cmdline_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "dir with blanks");
        fs::create_directories(root_ / "x.qzb.d");
        for (const char* name : {"p.qzp", "P2.QZP", "s.qzs", "dir with blanks/p.qzp", "x.qzb.d/s.qzs", "notes.txt"})
            std::ofstream(root_ / name) << "x";
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string At(const std::string& name) const { return (root_ / name).string(); }

    fs::path root_;
};

struct LineCase {
    std::vector<std::string> args;
    StartupKind kind;
    std::string path;  // relative to the test folder; "" for none
};

TEST_F(CommandLines, ClassifiedByExtension)
{
    const std::string r = root_.string() + "/";
    const LineCase cases[] = {
        {{r + "p.qzp"}, StartupKind::Project, "p.qzp"},
        {{r + "P2.QZP"}, StartupKind::Project, "P2.QZP"},
        {{r + "s.qzs"}, StartupKind::Document, "s.qzs"},  // a script opens as a document, never as the project
        {{r + "notes.txt"}, StartupKind::Document, "notes.txt"},
        {{r + "x.qzb.d/s.qzs"}, StartupKind::Document, "x.qzb.d/s.qzs"},  // ".qzb" inside the path is no batch
        {{r + "run.QZB"}, StartupKind::Batch, "run.QZB"},                 // the batch reader reports a missing batch
        {{r + "dir", "with", "blanks/p.qzp"}, StartupKind::Project, "dir with blanks/p.qzp"},
        {{"\"" + r + "dir with blanks/p.qzp\""}, StartupKind::Project, "dir with blanks/p.qzp"},
        {{"p.qzp"}, StartupKind::Project, "p.qzp"},  // from the current folder
        {{"./x.qzb.d/../s.qzs"}, StartupKind::Document, "s.qzs"},
        {{r + "missing.qzp"}, StartupKind::None, ""},
        {{r + "missing.qzs"}, StartupKind::None, ""},
        {{r + "x.qzb.d"}, StartupKind::None, ""},       // a folder is no document
        {{"\"" + r + "p.qzp"}, StartupKind::None, ""},  // an unmatched quote stays part of the path
    };
    for (const LineCase& c : cases) {
        const StartupRequest request = ClassifyCommandLine(c.args, "", root_);
        EXPECT_EQ(request.kind, c.kind) << c.args[0];
        EXPECT_EQ(request.path, c.path.empty() ? "" : At(c.path)) << c.args[0];
        EXPECT_FALSE(request.fromLastProject);
    }
}

TEST_F(CommandLines, NothingGivenReopensTheLastProject)
{
    StartupRequest request = ClassifyCommandLine({}, At("p.qzp"), root_);
    EXPECT_EQ(request.kind, StartupKind::Project);
    EXPECT_EQ(request.path, At("p.qzp"));
    EXPECT_TRUE(request.fromLastProject);

    request = ClassifyCommandLine({}, At("gone.qzp"), root_);
    EXPECT_EQ(request.kind, StartupKind::None);
    EXPECT_EQ(request.path, "");

    request = ClassifyCommandLine({}, "", root_);
    EXPECT_EQ(request.kind, StartupKind::None);

    // Something given: the last project plays no part.
    request = ClassifyCommandLine({At("s.qzs")}, At("p.qzp"), root_);
    EXPECT_EQ(request.kind, StartupKind::Document);
    EXPECT_FALSE(request.fromLastProject);
}

}  // namespace
}  // namespace zov::shell
