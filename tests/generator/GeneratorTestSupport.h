// A fresh folder per test and the written project read back, for the generation tests.
#pragma once

#include "generator/core/Generator.h"

#include "../support/FileText.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace zov::vantoro::test {

namespace fs = std::filesystem;

// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("zov_vantoro_") + std::to_string(::getpid()) + "_" +
                           (info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name() : "x");
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        path_ = fs::temp_directory_path() / name;
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The names of the regular files in folder.
inline std::set<std::string> FileNames(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The settings of the written project in most tests: a name, version 2.3, the default markers.
inline GeneratorSettings DemoSettings(const fs::path& folder, int projectType = kVisualCpp6)
{
    GeneratorSettings settings;
    settings.cliName = "Demo";
    settings.targetFolder = folder.string();
    settings.projectType = projectType;
    settings.copyright = "ACME Test";
    settings.version = "2.3";
    return settings;
}

}  // namespace zov::vantoro::test
