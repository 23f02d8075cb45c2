// What the interface lists show for each record.

#include "ide/interfaces/model/RowTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::interfaces {
namespace {

using Texts = std::vector<std::string>;

const shell::Translate kTag = [](std::string_view text) { return "<" + std::string(text) + ">"; };

TEST(RowTexts, EveryColumnIsABlankAndTheValue)
{
    EXPECT_EQ(CliRowTexts(CliRecord{"quarnel", "quarnel -x", ">>", 1, "exit", 1, 0}),
              (Texts{" quarnel", " quarnel -x"}));
    EXPECT_EQ(FunctionRowTexts(FunctionRecord{"add", "add %% %%", 3, 2}, kTag),
              (Texts{" add", " add %% %%", " <Entier>", " 2"}));
    EXPECT_EQ(ConstantRowTexts(ConstantRecord{"P", "%%TEMP%%", PredefinedConstant}, kTag),
              (Texts{" P", " <Prédéfinie>", " %%TEMP%%"}));
    EXPECT_EQ(InsertedInterfaceHeaderText("outils"), " [outils]");
}

TEST(RowTexts, TypeNamesAndUnknownTypes)
{
    const shell::Translate same = shell::IdentityTranslate();
    const char* returns[] = {"Aucun", "Booléen", "Chaine", "Entier", "Réel"};
    for (int type = 0; type < 5; ++type)
        EXPECT_EQ(FunctionRowTexts(FunctionRecord{"f", "f", type, 0}, same)[2], std::string(" ") + returns[type]);
    EXPECT_EQ(FunctionRowTexts(FunctionRecord{"f", "f", 7, 0}, same)[2], " ");
    const char* constants[] = {"Chaine", "Entier/réel", "Booléen", "Prédéfinie"};
    for (int type = 0; type < 4; ++type)
        EXPECT_EQ(ConstantRowTexts(ConstantRecord{"c", "v", type}, same)[1], std::string(" ") + constants[type]);
    EXPECT_EQ(ConstantRowTexts(ConstantRecord{"c", "v", -1}, same)[1], " ");
}

struct BodyCase {
    std::string body;
    std::string listed;  // after Refill
    std::string edited;  // after an edit of the text
};

class MacroBody : public testing::TestWithParam<BodyCase> {};

TEST_P(MacroBody, ShortenedForTheList)
{
    EXPECT_EQ(MacroBodyRowText(GetParam().body), GetParam().listed);
    EXPECT_EQ(EditedMacroBodyRowText(GetParam().body), GetParam().edited);
    EXPECT_EQ(MacroRowTexts(MacroRecord{"M", GetParam().body})[1], " " + GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, MacroBody,
    testing::Values(BodyCase{"a = 1 & b = 2", "a = 1 ...", "a = 1 & b = 2"},
                    BodyCase{std::string(51, 'x'), std::string(50, 'x') + "...", std::string(50, 'x') + "..."},
                    BodyCase{std::string(50, 'x'), std::string(50, 'x'), std::string(50, 'x')},
                    // An "&" at position 50 or later: the length rule.
                    BodyCase{std::string(50, 'x') + " & y", std::string(50, 'x') + "...", std::string(50, 'x') + "..."},
                    BodyCase{std::string(49, 'x') + "& y", std::string(49, 'x') + "...", std::string(49, 'x') + "&..."},
                    // Characters, not bytes: an accented text is never cut inside a character.
                    BodyCase{std::string(30, 'x') + std::string(30, 'e').replace(0, 1, "é"),
                             std::string(30, 'x') + "é" + std::string(19, 'e') + "...",
                             std::string(30, 'x') + "é" + std::string(19, 'e') + "..."}));

}  // namespace
}  // namespace zov::interfaces
