#pragma once
// A temporary project folder, and the small project "Banc" that the golden files hold.

#include "ide/project/model/ProjectModel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zov::project::testing {

namespace fs = std::filesystem;

inline const fs::path kData = fs::path(ZOV_SOURCE_DIR) / "tests/project/data";

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Times in the files are local: the tests fix the zone.
inline void UseTimeZone(const char* zone)
{
    ::setenv("TZ", zone, 1);
    ::tzset();
}

inline std::time_t UtcTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return ::timegm(&t);
}

class ProjectFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTimeZone("UTC");
        std::string pattern = (fs::temp_directory_path() / "zov-project-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }
    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
    std::string Folder() const { return m_dir.string(); }

    fs::path m_dir;
};

// The project of the golden files Banc.qzp and Banc.res, in the given folder (which gets the
// interface file, so the load keeps it).
inline void FillBanc(ProjectModel& model, const std::string& folder)
{
    WriteBytes(fs::path(folder) / "Pupitre.qzi", "");
    model.NewProject("Banc", folder, "Pupitre.qzi");
    model.Text = "Banc d'essai & <réglages> à 5 €";
    model.InsertedInterfaces = {"libs/Commun.qzi"};
    model.InterfaceConfigs = {"COM1"};
    model.DataNames = {"Port", "Débit"};
    model.DataValues = {"COM1", "9 600 \"bauds\""};
    model.SetRequirementsFile(folder + "/exigences.csv");
    model.SetRequirementsExportFile(folder + "/export/exigences.csv");
    model.RequirementCsvSettings.TextQualifier = '"';
    model.RequirementCsvSettings.FirstLine = 1;
    model.RequirementCsvSettings.HasHeader = 1;
    model.RequirementCsvSettings.Columns = {1, 2, 3, 0, 0, 0, 0, 4};
    model.SetFactsFile(folder + "/faits.csv");
    model.FactCsvSettings.Separator = ',';
    model.RunConfigs = {"nightly=1;2"};
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V1", "première"}));
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{2, "V2", ""}));

    CCampaign& night = *model.AddCampaign("Campagne", kAddAtEnd, 0, nullptr);
    night.Text = "Essais de nuit";
    night.Configs = {"cfg1"};
    CTestSet& set = *model.AddTestSet(night, "Ens", kAddAtEnd, 0, 0, 1, nullptr);
    set.Params = "a;";
    set.Configs = {"x"};
    CTest& measure = *model.AddTest(set, "scripts/mesure.qzs", "Mesure", kAddAtEnd, 0, nullptr, 0);
    measure.Params = "p1;p2";
    CTest& background = *model.AddTest(set, "scripts/fond.qzs", "Fond", kAddAtEnd, 0, nullptr, 1);
    model.AddTestSet(night, "Vide", kAddAtEnd, 0, 1, 1, nullptr)->Text = "Rien encore";
    CCampaign& other = *model.AddCampaign("Autre", kAddAtEnd, 0, nullptr);
    CTestSet& alone = *model.AddTestSet(other, "Seul", kAddAtEnd, 0, 2, 0, nullptr);
    model.AddTest(alone, "seul.qzs", "Seul", kAddAtEnd, 0, nullptr, 0);

    model.SetResult(1, measure.Id, 1, "ok & <fin>", UtcTime(2024, 3, 5, 7, 8, 9), 3725);
    model.SetResult(2, measure.Id, 0, "écart", UtcTime(2024, 3, 6, 23, 0, 0), 59);
    model.SetResult(1, background.Id, 2, "", UtcTime(2024, 3, 5, 8, 0, 0), 90000);
}

}  // namespace zov::project::testing

namespace zov::project::testing {

// Compares bytes with a golden file of data/; ZOV_WRITE_GOLDEN=1 rewrites the file instead, for a
// deliberate change of format (then read the diff).
inline void ExpectGolden(const std::string& bytes, const std::string& name)
{
    const fs::path golden = kData / name;
    if (std::getenv("ZOV_WRITE_GOLDEN")) {
        WriteBytes(golden, bytes);
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden;
    EXPECT_EQ(bytes, ReadBytes(golden)) << "differs from " << golden;
}

}  // namespace zov::project::testing
