#include "ide/shell/core/Prompter.h"

#include <gtest/gtest.h>

using namespace zov::shell;

TEST(RecordingPrompter, EscapesWhenNoAnswerIsQueued)
{
    struct Case {
        PromptButtons buttons;
        PromptAnswer escaped;
    };
    const Case cases[] = {
        {PromptButtons::Ok, PromptAnswer::Ok},
        {PromptButtons::OkCancel, PromptAnswer::Cancel},
        {PromptButtons::YesNo, PromptAnswer::No},
        {PromptButtons::YesNoCancel, PromptAnswer::Cancel},
    };
    for (const Case& c : cases) {
        RecordingPrompter prompter;
        EXPECT_EQ(prompter.Ask("q", PromptIcon::Question, c.buttons), c.escaped);
    }
}

TEST(RecordingPrompter, MapsAnAnswerTheBoxLacksToItsCounterpart)
{
    RecordingPrompter prompter;
    prompter.Queue(PromptAnswer::Ok);
    prompter.Queue(PromptAnswer::Cancel);
    prompter.Queue(PromptAnswer::Yes);
    EXPECT_EQ(prompter.Ask("a", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompter.Ask("b", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompter.Ask("c", PromptIcon::Question, PromptButtons::OkCancel), PromptAnswer::Ok);
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(prompter.Prompts()[0].kind, PromptKind::Question);
}

TEST(RecordingPrompter, FileAndColourDialogsTakeTheQueuedValue)
{
    RecordingPrompter prompter;
    prompter.Queue(PromptAnswer::Ok, "/tmp/a.qzp");
    prompter.Queue(PromptAnswer::Cancel);
    prompter.Queue(PromptAnswer::Ok, "16711680");
    prompter.Queue(PromptAnswer::Ok, "red");
    EXPECT_EQ(prompter.OpenFile({"Ouvrir", "", ""}), "/tmp/a.qzp");
    EXPECT_EQ(prompter.SaveFile({"Enregistrer", "", ""}), std::nullopt);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 0), 16711680u);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 0), std::nullopt);
    EXPECT_EQ(prompter.Prompts()[1].kind, PromptKind::Save);
}
