#include "ide/shell/core/LanguageChoices.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

TEST(LanguageChoices, FirstLineNamesTheLanguage)
{
    const struct {
        const char* line;
        std::optional<std::string> name;
    } cases[] = {
        {"$LANGUAGE=English", "English"},
        {"  $LANGUAGE = Deutsch  ", "Deutsch"},
        {"$=", ""},
        {"$LANGUAGE English", std::nullopt},
        {"LANGUAGE=English", std::nullopt},
        {"", std::nullopt},
        {"$LANGUAGE=Fran\xE7"
         "ais",
         "Français"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageNameOfFirstLine(c.line), c.name) << c.line;
    // Only the first 255 characters count: an '=' beyond them names nothing.
    EXPECT_EQ(LanguageNameOfFirstLine("$" + std::string(300, 'x') + "=Late"), std::nullopt);
}

TEST(LanguageChoices, ListsTheLanguageFilesOfTheFolderInNameOrder)
{
    const fs::path root = fs::temp_directory_path() / ("zov_lgn_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "sub.lgn");
    EXPECT_TRUE(ListLanguageChoices(root).empty());
    const struct {
        const char* file;
        const char* bytes;
    } files[] = {
        {"zz.lgn", "$LANGUAGE=Zulu\r\nOui=Yes\r\n"},
        {"english.lgn", "$LANGUAGE=English\n"},
        {"broken.lgn", "no language here\n$LANGUAGE=Hidden\n"},
        {"notes.txt", "$LANGUAGE=Text\n"},
        {"empty.lgn", ""},
    };
    for (const auto& f : files)
        std::ofstream(root / f.file, std::ios::binary) << f.bytes;
    const std::vector<LanguageChoice> choices = ListLanguageChoices(root);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].name, "English");
    EXPECT_EQ(choices[0].file, "english.lgn");
    EXPECT_EQ(choices[1].name, "Zulu");
    EXPECT_EQ(choices[1].file, "zz.lgn");
    fs::remove_all(root);
    EXPECT_TRUE(ListLanguageChoices(root).empty());
}

}  // namespace
}  // namespace zov::shell
