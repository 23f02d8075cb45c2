// The written project byte for byte, against golden files. ZOV_UPDATE_GOLDEN=1 rewrites them from
// the generator (then read the difference before committing it).
#include "generator/core/Generator.h"

#include "GeneratorTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace zov::vantoro;
using zov::test::ReadFile;
using zov::test::WriteFile;
using zov::vantoro::test::DemoSettings;
using zov::vantoro::test::FileNames;
using zov::vantoro::test::ScratchFolder;

const fs::path kGolden = fs::path(ZOV_GENERATOR_DATA) / "golden";

class GoldenTest : public ::testing::TestWithParam<int> {};

TEST_P(GoldenTest, EveryFileIsTheGoldenFile)
{
    ScratchFolder scratch;
    const GenerationResult result = GenerateProject(DemoSettings(scratch.path(), GetParam()));
    ASSERT_TRUE(result.ok) << result.failedPath;
    const bool update = std::getenv("ZOV_UPDATE_GOLDEN") != nullptr;
    for (const std::string& name : FileNames(scratch.path())) {
        const std::string written = ReadFile(scratch.path() / name);
        if (update)
            WriteFile(kGolden / name, written);
        ASSERT_TRUE(fs::exists(kGolden / name)) << name;
        EXPECT_EQ(written, ReadFile(kGolden / name)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Types, GoldenTest, ::testing::Values(kVisualCpp6, kVisualCpp2008Express, kDevCpp5));

}  // namespace
