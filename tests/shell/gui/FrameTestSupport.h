// Test support for the main window's tests: a private program folder and work folder under the
// temp folder (one per test), the application over them, a prompter of the test's kind installed,
// and everything removed again after the test.
#pragma once

#include "common/AtomicFile.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/ApplicationCore.h"
#include "tests/common/gui/QtTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace zov::shell::test {

template <class TestPrompter>
class FrameTestBase : public ::testing::Test {
protected:
    // `kind` names the folder: "<temp>/zov_<kind>_<pid>_<test>".
    explicit FrameTestBase(const std::string& kind) : kind_(kind) {}

    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = std::filesystem::temp_directory_path() /
                ("zov_" + kind_ + "_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "prog");
        std::filesystem::create_directories(root_ / "work");
        auto prompter = std::make_unique<TestPrompter>();
        prompter_ = prompter.get();
        InstallPrompter(std::move(prompter));
        application_ = std::make_unique<ApplicationCore>(
            ApplicationCore::Places{root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"});
    }
    void TearDown() override
    {
        frame_.reset();
        application_.reset();
        InstallPrompter(std::make_unique<TestPrompter>());
        std::filesystem::remove_all(root_);
    }

    // A file of the work folder, its folders made; its path.
    std::string Write(const std::string& name, std::string_view bytes)
    {
        const std::filesystem::path path = root_ / "work" / name;
        std::filesystem::create_directories(path.parent_path());
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return path.string();
    }

    std::filesystem::path root_;
    TestPrompter* prompter_ = nullptr;
    std::unique_ptr<ApplicationCore> application_;
    std::unique_ptr<MainFrame> frame_;

private:
    std::string kind_;
};

}  // namespace zov::shell::test
