#include "ide/shell/PromptScript.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace zov::shell;

TEST(PromptScriptTest, AnswerLines)
{
    struct Case {
        std::string line;
        ScriptLine kind;
        PromptAnswer button;
        std::string value;
    };
    const Case cases[] = {
        {"ok", ScriptLine::Answer, PromptAnswer::Ok, ""},
        {"yes /tmp/a b", ScriptLine::Answer, PromptAnswer::Yes, "/tmp/a b"},
        {"  Cancel", ScriptLine::Answer, PromptAnswer::Cancel, ""},
        {"NO\r", ScriptLine::Answer, PromptAnswer::No, ""},
        {"ok  two blanks", ScriptLine::Answer, PromptAnswer::Ok, " two blanks"},
        {"ok\t255", ScriptLine::Answer, PromptAnswer::Ok, "255"},
        {"ok C:\\Projets\\a.qzp\r", ScriptLine::Answer, PromptAnswer::Ok, "C:\\Projets\\a.qzp"},
        {"", ScriptLine::Skip, PromptAnswer::Ok, ""},
        {" \t ", ScriptLine::Skip, PromptAnswer::Ok, ""},
        {"\r", ScriptLine::Skip, PromptAnswer::Ok, ""},
        {"# ok", ScriptLine::Skip, PromptAnswer::Ok, ""},
        {"  #cancel", ScriptLine::Skip, PromptAnswer::Ok, ""},
        {"okay", ScriptLine::Wrong, PromptAnswer::Ok, ""},
        {"oui", ScriptLine::Wrong, PromptAnswer::Ok, ""},
        {"1", ScriptLine::Wrong, PromptAnswer::Ok, ""},
    };
    for (const Case& c : cases) {
        ScriptAnswer answer;
        EXPECT_EQ(ParseScriptLine(c.line, answer), c.kind) << c.line;
        if (c.kind == ScriptLine::Answer) {
            EXPECT_EQ(answer.button, c.button) << c.line;
            EXPECT_EQ(answer.value, c.value) << c.line;
        }
    }
}

TEST(PromptScriptTest, ButtonsOfBoxesAndTheirCounterparts)
{
    using B = PromptButtons;
    using A = PromptAnswer;
    struct Case {
        B buttons;
        A scripted;
        std::optional<A> given;
    };
    const Case cases[] = {
        {B::Ok, A::Ok, A::Ok},
        {B::Ok, A::Yes, A::Ok},
        {B::Ok, A::Cancel, std::nullopt},
        {B::Ok, A::No, std::nullopt},
        {B::OkCancel, A::Yes, A::Ok},
        {B::OkCancel, A::No, A::Cancel},
        {B::YesNo, A::Ok, A::Yes},
        {B::YesNo, A::Cancel, A::No},
        {B::YesNo, A::No, A::No},
        {B::YesNoCancel, A::Ok, A::Yes},
        {B::YesNoCancel, A::Cancel, A::Cancel},
        {B::YesNoCancel, A::No, A::No},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnswerForBox(c.buttons, c.scripted), c.given)
            << static_cast<int>(c.buttons) << " " << static_cast<int>(c.scripted);
}

TEST(PromptScriptTest, ColourValues)
{
    const std::pair<std::string, std::optional<std::uint32_t>> cases[] = {
        {"255", 255u},
        {"0", 0u},
        {"16777215", 0xFFFFFFu},
        {"16777216", std::nullopt},
        {"4294967296", std::nullopt},
        {"-1", std::nullopt},
        {"0x10", std::nullopt},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {" 1", std::nullopt},
        {"+1", std::nullopt},
    };
    for (const auto& [text, colour] : cases)
        EXPECT_EQ(ParseColourValue(text), colour) << text;
}

TEST(PromptScriptTest, PromptLinesKeepOnePromptOnOneLine)
{
    const std::tuple<PromptKind, std::string, std::string> cases[] = {
        {PromptKind::Message, "Fin", "message\tFin\n"},
        {PromptKind::Question, "Enregistrer ?\nOui ou non", "question\tEnregistrer ?\\nOui ou non\n"},
        {PromptKind::Dialog, "a\r\nb\rc\n", "dialog\ta\\nb\\nc\\n\n"},
        {PromptKind::Open, "", "open\t\n"},
        {PromptKind::Save, "x", "save\tx\n"},
        {PromptKind::Folder, "Dossier", "folder\tDossier\n"},
        {PromptKind::Colour, "Couleur", "colour\tCouleur\n"},
    };
    for (const auto& [kind, text, line] : cases)
        EXPECT_EQ(FormatPromptLine(kind, text), line);
}

TEST(PromptScriptTest, FileFiltersInTheToolkitsForm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Fichier ZOV Projet|*.qzp|", "Fichier ZOV Projet (*.qzp)"},
        {"Fichier ZOV Projet|*.qzp||", "Fichier ZOV Projet (*.qzp)"},
        {"Scripts (*.qzs)|*.qzs|Tous les fichiers (*.*)|*.*||", "Scripts (*.qzs);;Tous les fichiers (*.*)"},
        {"Textes|*.txt;*.csv|Tous|*.*|", "Textes (*.txt *.csv);;Tous (*.*)"},
        {"Interfaces|*.qzi", "Interfaces (*.qzi)"},
        {"", ""},
        {"Sans motif|", ""},
        {"Vide||Scripts|*.qzs|", ""},
    };
    for (const auto& [filter, converted] : cases)
        EXPECT_EQ(ConvertFileFilter(filter), converted) << filter;
}

}  // namespace
