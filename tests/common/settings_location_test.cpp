#include "common/SettingsLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritable)
{
    EXPECT_EQ(zov::ChooseSettingsPath("Brunox.ini", "/opt/zov/bin", true, "/home/u/.config/zov"),
              fs::path("/opt/zov/bin/Brunox.ini"));
    EXPECT_EQ(zov::ChooseSettingsPath("Brunox.ini", "/usr/bin", false, "/home/u/.config/zov"),
              fs::path("/home/u/.config/zov/Brunox.ini"));
}

TEST(SettingsLocation, UserFolderFollowsXdgThenHome)
{
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(zov::UserConfigFolder(), fs::path("/xdg/config/zov"));
    }
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(zov::UserConfigFolder(), fs::path("/home/tester/.config/zov"));
    }
    {
        // A relative XDG_CONFIG_HOME is invalid and ignored.
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(zov::UserConfigFolder(), fs::path("/home/tester/.config/zov"));
    }
}

TEST(SettingsLocation, UnwritableProgramFolderFallsBackToTheCreatedUserFolder)
{
    const fs::path scratch = fs::temp_directory_path() / ("zov_settings_" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    ScopedEnv xdg("XDG_CONFIG_HOME", scratch.c_str());
    // A program folder that does not exist cannot be written, whoever runs the test.
    const fs::path chosen = zov::SettingsFilePath("Brunox.ini", scratch / "missing-program-folder");
    EXPECT_EQ(chosen, scratch / "zov" / "Brunox.ini");
    EXPECT_TRUE(fs::is_directory(scratch / "zov"));
    EXPECT_EQ(fs::status(scratch / "zov").permissions(), fs::perms::owner_all);

    fs::create_directories(scratch / "bin");
    EXPECT_EQ(zov::SettingsFilePath("Brunox.ini", scratch / "bin"), scratch / "bin" / "Brunox.ini");
    fs::remove_all(scratch);
}

TEST(SettingsLocation, ProgramFolderIsTheFolderOfTheRunningExecutable)
{
    // Test programs are built into <build>/tests, beside <build>/bin; the current folder differs.
    EXPECT_EQ(fs::canonical(zov::ProgramFolder()), fs::canonical(fs::path(ZOV_BIN_DIR).parent_path() / "tests"));
    EXPECT_NE(fs::canonical(zov::ProgramFolder()), fs::canonical(fs::current_path()));
}

}  // namespace
