// The engine's side of the line protocol against a real CLI tool built on the CLI framework
// (Quarnel), when it is built beside the engine.
#include "engine/runtime/CliCalls.h"
#include "engine/processes/CliProcess.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"

#include "process_checks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zov {
namespace {

const std::string kQuarnel = std::string(ZOV_BIN_DIR) + "/quarnel";

class QuarnelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::access(kQuarnel.c_str(), X_OK) != 0)
            GTEST_SKIP() << "quarnel is not built";
        Engine().Reset();
        previousSink_ = SetLineSink([this](Stream stream, std::string_view text) {
            std::lock_guard<std::mutex> hold(lock_);
            (stream == Stream::Out ? out_ : err_).append(text);
        });
        CliSettings settings;
        settings.Terminator = ">>";
        settings.SyncMode = 1;
        settings.ExitCommand = "exit";
        index_ = StartCLI(kQuarnel, settings);
        ASSERT_GT(index_, 0);
    }
    void TearDown() override
    {
        if (index_ == 0)
            return;
        StopAllCliProcesses();
        SetLineSink(std::move(previousSink_));
        EXPECT_EQ(Err(), "");  // it ended on its exit command, no forced end
        test::ExpectNoChildLeft();
    }
    std::string Out()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return out_;
    }
    std::string Err()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return err_;
    }
    int index_ = 0;

private:
    LineSink previousSink_;
    std::mutex lock_;
    std::string out_;
    std::string err_;
};

TEST_F(QuarnelTest, CallsWithParametersKeepInStep)
{
    // Each call sends its line and an empty line; the marker answering the empty line must
    // never be read as the end of the next reply.
    for (int i = 1; i <= 200; ++i) {
        const double square = static_cast<double>(i) * i;
        EXPECT_DOUBLE_EQ(CmdFunction4("sqrt -v %s", index_, std::vector<std::string>{std::to_string(square)}), i);
        ASSERT_FALSE(Engine().TimedOut) << i;
    }
    EXPECT_EQ(CliTable.At(index_)->ExtraLines(), ExtraLineAnswers::Answered);
    EXPECT_EQ(Out(), "");
}

TEST_F(QuarnelTest, ErrorsOnStandardErrorBecomeEchoLines)
{
    EXPECT_EQ(CmdFunction1_0("nosuchcommand", index_), "");
    EXPECT_EQ(Out(), "out: Command not found !\n");
    EXPECT_DOUBLE_EQ(CmdFunction4("sqrt -v %s", index_, std::vector<std::string>{"9"}), 3.0);
}

}  // namespace
}  // namespace zov
