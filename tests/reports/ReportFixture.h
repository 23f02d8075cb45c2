#pragma once
// A temporary folder, the small project "Banc" that the golden reports hold, and helpers to run
// the command-line checkers (xmllint, pdftotext, pdfinfo) on written files.

#include "ide/project/model/ProjectModel.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Prompter.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace zov::reports::testing {

namespace fs = std::filesystem;
using namespace zov::project;

inline const fs::path kData = fs::path(ZOV_SOURCE_DIR) / "tests/reports/data";

using zov::test::ReadFile;
using zov::test::WriteFile;

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

// Compares bytes with a golden file of data/; ZOV_WRITE_GOLDEN=1 rewrites the file instead, for a
// deliberate change of format (then read the diff).
inline void ExpectGolden(const std::string& bytes, const std::string& name)
{
    const fs::path golden = kData / name;
    if (std::getenv("ZOV_WRITE_GOLDEN")) {
        WriteFile(golden, bytes);
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden;
    EXPECT_EQ(bytes, ReadFile(golden)) << "differs from " << golden;
}

// The standard output of a command line; the exit status in status.
inline std::string RunCommand(const std::string& command, int* status = nullptr)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return out;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    const int rc = ::pclose(pipe);
    if (status) {
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    return out;
}

inline std::string Quoted(const std::string& path)
{
    std::string out = "'";
    for (char c : path) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// The project of the golden reports. Version "V1" (index 0) has:
//   Connexion / Login: Mot de passe OK, Compte bloqué NOK (Info with quotes), Délai not tested;
//   Connexion / Logout: Sortie, no result for V1;
//   Export € / CSV: Fichier OK (Info with a comma and a semicolon);
//   Vide / Rien: Jamais, no result list at all.
// Version "V2" (index 1) has results for Mot de passe, Sortie and Fichier only.
inline void FillBanc(ProjectModel& model)
{
    model.NewProject("Banc d'essai", "/tmp", "Pupitre.qzi");
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V1", "Première"}));
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{2, "V2", ""}));
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{3, "V3", "sans résultat"}));

    CCampaign& connexion = *model.AddCampaign("Connexion", kAddAtEnd, 0, nullptr);
    connexion.Text = "Les accès";
    CTestSet& login = *model.AddTestSet(connexion, "Login", kAddAtEnd, 0, 0, 0, nullptr);
    login.Text = "Entrée";
    CTest& password = *model.AddTest(login, "mdp.qzs", "Mot de passe", kAddAtEnd, 0, nullptr, 0);
    CTest& locked = *model.AddTest(login, "bloque.qzs", "Compte bloqué", kAddAtEnd, 0, nullptr, 0);
    CTest& delay = *model.AddTest(login, "delai.qzs", "Délai", kAddAtEnd, 0, nullptr, 0);
    CTestSet& logout = *model.AddTestSet(connexion, "Logout", kAddAtEnd, 0, 0, 0, nullptr);
    CTest& exit = *model.AddTest(logout, "sortie.qzs", "Sortie", kAddAtEnd, 0, nullptr, 0);

    CCampaign& exportCampaign = *model.AddCampaign("Export €", kAddAtEnd, 0, nullptr);
    CTestSet& csv = *model.AddTestSet(exportCampaign, "CSV", kAddAtEnd, 0, 0, 0, nullptr);
    CTest& file = *model.AddTest(csv, "fichier.qzs", "Fichier", kAddAtEnd, 0, nullptr, 0);

    CCampaign& empty = *model.AddCampaign("Vide", kAddAtEnd, 0, nullptr);
    CTestSet& nothing = *model.AddTestSet(empty, "Rien", kAddAtEnd, 0, 0, 0, nullptr);
    model.AddTest(nothing, "jamais.qzs", "Jamais", kAddAtEnd, 0, nullptr, 0);

    model.SetResult(1, password.Id, 1, "accepté", UtcTime(2024, 3, 5, 7, 8, 9), 12);
    model.SetResult(1, locked.Id, 0, "say \"hi\"", UtcTime(2024, 3, 5, 7, 9, 0), 3725);
    model.SetResult(1, delay.Id, 2, "", UtcTime(2024, 3, 5, 7, 10, 0), 5);
    model.SetResult(1, file.Id, 1, "écrit, 3 lignes; fin", UtcTime(2024, 3, 5, 6, 59, 59), 90000);
    model.SetResult(2, password.Id, 0, "refusé", UtcTime(2024, 4, 1, 10, 0, 0), 7);
    model.SetResult(2, exit.Id, 1, "", UtcTime(2024, 4, 1, 10, 1, 0), 1);
    model.SetResult(2, file.Id, 2, "", UtcTime(2024, 4, 1, 9, 0, 0), 0);
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        std::string pattern = (fs::temp_directory_path() / "zov-reports-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        FillBanc(model_);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    CReportWriter Writer(bool batch = false)
    {
        return CReportWriter(ReportHost{model_, prompter_, shell::IdentityTranslate(), batch, "/opt/zov"});
    }

    fs::path dir_;
    ProjectModel model_;
    shell::RecordingPrompter prompter_;
};

}  // namespace zov::reports::testing
