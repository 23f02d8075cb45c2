#include "ide/shell/core/StringTable.h"

#include <gtest/gtest.h>

namespace zov::shell {
namespace {

struct StringCase {
    unsigned id;
    const char* text;
};

TEST(StringTable, TextsByNumber)
{
    const StringCase cases[] = {
        {128, "\nZOV\nZOV\nFichiers script ZOV (*.qzs)\n.qzs\nZOV.Document\nZOV Document"},
        {600, "Le saviez-vous ?"},
        {601, "Impossible de lire le fichier d'astuces"},
        {602, "Problème lors de la lecture du fichier d'astuces"},
        {8000, "1.0 PR1"},
        {57345, "Prêt"},
        {0, ""},
        {129, ""},
        {57346, ""},
        {4294967295u, ""},
    };
    for (const StringCase& c : cases)
        EXPECT_EQ(LoadStringResource(c.id), c.text) << c.id;
    EXPECT_EQ(LoadStringResource(1267).substr(0, 8), "https://");
}

TEST(StringTable, TranslatedThroughTheLanguageTable)
{
    EXPECT_EQ(LoadTranslatedString(57345, nullptr), "Prêt");
    LanguageTable table;
    table.LoadText("Prêt=Ready\nLe saviez-vous ?=Did you know?\n");
    EXPECT_EQ(LoadTranslatedString(57345, &table), "Ready");
    EXPECT_EQ(LoadTranslatedString(600, &table), "Did you know?");
    EXPECT_EQ(LoadTranslatedString(8000, &table), "1.0 PR1");
    EXPECT_EQ(LoadTranslatedString(12345, &table), "");
}

}  // namespace
}  // namespace zov::shell
