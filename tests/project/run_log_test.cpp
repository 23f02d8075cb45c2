// The run log: one block per run, CR LF line ends, appended.
#include "ProjectFixture.h"

#include "ide/project/model/ProjectModel.h"

namespace {

using namespace zov::project;
using namespace zov::project::testing;

class RunLogTest : public ProjectFolderTest {};

TEST_F(RunLogTest, BlocksAreAppendedWithCrLf)
{
    ProjectModel model;
    model.NewProject("Banc", Folder(), "");
    EXPECT_EQ(model.RunLogPath(1), PathOf("Banc_1_.log"));
    ASSERT_TRUE(model.AppendRunLog("ligne 1\nligne é\r\nfin\n", "T1", 1));
    ASSERT_TRUE(model.AppendRunLog("", "T2", 1));
    ASSERT_TRUE(model.AppendRunLog("autre", "T1", 2));
    EXPECT_EQ(ReadBytes(PathOf("Banc_1_.log")), "[T1]\r\nligne 1\r\nligne é\r\nfin\r\n[T2]\r\n");
    EXPECT_EQ(ReadBytes(PathOf("Banc_2_.log")), "[T1]\r\nautre");
}

TEST_F(RunLogTest, ALogThatCannotBeWrittenIsSkipped)
{
    ProjectModel model;
    model.NewProject("Banc", PathOf("missing"), "");
    EXPECT_FALSE(model.AppendRunLog("x", "T1", 1));
    EXPECT_FALSE(fs::exists(PathOf("missing")));
}

}  // namespace
