#include "ide/shell/core/LanguageTable.h"

#include <gtest/gtest.h>

#include <string>

namespace zov::shell {
namespace {

constexpr const char* kDataDir = ZOV_SOURCE_DIR "/tests/shell/data/";

// Lines of every kind, with the three line ends.
constexpr std::string_view kLanguageText =
    "; commentaire = ignoré\r\n"
    "$help = Aide.chm\n"
    "  $Tips=Astuces.txt  \r"
    "$LANGUAGE   =   English  \r\n"
    "$nothing\n"
    "$OTHER=x\n"
    "sans egal\n"
    "\n"
    "Nom=Name\n"
    "Nom=Other\n"
    "Vide=\n"
    "Vide2=   \n"
    "Vide2=Empty\n"
    "Tab\\tKey = a\\tb\n"
    "Egal = x = y\n"
    "   Espace   =   texte  \n"
    "=sans clé\n"
    "Dernière=Last";

struct LookupCase {
    const char* text;
    const char* expected;
};

TEST(LanguageTable, ReadsEveryKindOfLine)
{
    LanguageTable table;
    table.LoadText(kLanguageText);
    EXPECT_EQ(table.HelpFile(), "Aide.chm");
    EXPECT_EQ(table.TipsFile(), "Astuces.txt");
    EXPECT_EQ(table.LanguageName(), "English");

    const LookupCase cases[] = {
        {"Nom", "Name"},  // the first of two duplicates wins
        {"Nom :", "Name :"},
        {"Nom:", "Name :"},
        {"  Nom  ", "Name"},
        {"Nom: x", "Nom: x"},  // a colon inside: looked up whole
        {"nom", "nom"},        // keys keep their case
        {"", ""},
        {":", ":"},  // the line "=sans clé" has no key
        {"  ", "  "},
        {"Prénom :", "Prénom :"},  // unknown: the original, untrimmed
        {" Prénom ", " Prénom "},
        {"Vide", "Vide"},  // an empty translation counts as none
        {"Vide :", "Vide :"},
        {"Vide2", "Empty"},
        {"Tab\tKey", "a\tb"},
        {"Egal", "x = y"},
        {"Espace", "texte"},
        {"Dernière", "Last"},
        {"sans egal", "sans egal"},
        {"; commentaire", "; commentaire"},
        {"$OTHER", "$OTHER"},
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(table.Lookup(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(table.EntryCount(), 10u);  // duplicates and empty translations are kept
}

TEST(LanguageTable, HashIsTheStandardCrc32)
{
    EXPECT_EQ(LanguageTable::HashKey("123456789"), 0xCBF43926u);
    EXPECT_EQ(LanguageTable::HashKey(""), 0u);
    EXPECT_EQ(LanguageTable::HashKey("é"), LanguageTable::HashKey("\xC3\xA9"));  // over the UTF-8 bytes
    EXPECT_NE(LanguageTable::HashKey("\xC3\xA9"), LanguageTable::HashKey("\xE9"));
}

// The same file saved by a Windows editor and by a Linux one translates the same texts.
TEST(LanguageTable, Utf8AndWindows1252FilesBothTranslate)
{
    for (const char* name : {"english_utf8.lgn", "english_cp1252.lgn"}) {
        LanguageTable table;
        ASSERT_TRUE(table.LoadLanguageFile(std::string(kDataDir) + name)) << name;
        EXPECT_EQ(table.Lookup("Prénom :"), "First name :") << name;
        EXPECT_EQ(table.Lookup("Fichier d’aide"), "Help file") << name;
        EXPECT_EQ(table.LanguageName(), "English") << name;
    }
}

// Long lines are read whole: a cut would lose the tail and add a bogus entry.
TEST(LanguageTable, LongLinesStayWhole)
{
    std::string key;
    std::string text;
    for (int i = 0; i < 200; ++i) {
        key += "é";
        text += "translation ";
    }
    LanguageTable table;
    table.LoadText("\xEF\xBB\xBF" + key + "=" + text + "\nCourt=Short\n");
    EXPECT_EQ(table.Lookup(key), text.substr(0, text.size() - 1));
    EXPECT_EQ(table.Lookup("Court"), "Short");
    EXPECT_EQ(table.EntryCount(), 2u);
}

TEST(LanguageTable, UnreadableFileLeavesTheTable)
{
    LanguageTable table;
    table.LoadText("Nom=Name\n$HELP=a.chm\n");
    EXPECT_FALSE(table.LoadLanguageFile(std::string(kDataDir) + "missing.lgn"));
    EXPECT_FALSE(table.LoadLanguageFile(kDataDir));  // a folder
    EXPECT_EQ(table.Lookup("Nom"), "Name");
    // A readable file replaces the entries.
    ASSERT_TRUE(table.LoadLanguageFile(std::string(kDataDir) + "english_utf8.lgn"));
    EXPECT_EQ(table.Lookup("Nom"), "Nom");
    EXPECT_EQ(table.Lookup("Prénom"), "First name");
}

TEST(TranslateText, WithoutATableEveryTextStands)
{
    EXPECT_EQ(TranslateText(nullptr, "Nom :"), "Nom :");
    EXPECT_EQ(TranslateText(nullptr, ""), "");
    LanguageTable table;
    table.LoadText("Nom=Name\n");
    EXPECT_EQ(TranslateText(&table, "Nom :"), "Name :");
    const Translate translate = TranslateWith(&table);
    EXPECT_EQ(translate("Nom"), "Name");
    EXPECT_EQ(TranslateWith(nullptr)("Nom"), "Nom");
}

}  // namespace
}  // namespace zov::shell
