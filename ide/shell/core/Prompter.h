#pragma once
// Every message box, question, file, folder and colour dialog of the IDE goes through one
// replaceable prompter, so that tests and batch runs never wait on a window. This is the
// headless half: the windowed prompter and the one that answers from a script derive from it.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zov::shell {

enum class PromptIcon { None, Information, Warning, Error, Question };

// The button sets of the system's message boxes.
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };

enum class PromptAnswer { Ok, Cancel, Yes, No };

enum class PromptKind { Message, Question, Dialog, Open, Save, Folder, Colour };

// A file dialog: title, filter written the framework way ("Fichier ZOV Projet|*.qzp|"), the
// folder or file it starts from.
struct FileRequest {
    std::string title;
    std::string filter;
    std::string initialPath;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) = 0;
    virtual std::optional<std::string> OpenFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) = 0;
    // Colours are Windows COLORREF values, as stored in ZOV.ini.
    virtual std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) = 0;
    virtual void Beep() {}

    // An information box with the single button "OK".
    void Tell(const std::string& text, PromptIcon icon = PromptIcon::Information)
    {
        Ask(text, icon, PromptButtons::Ok);
    }
};

// The kind a prompt is logged under: an OK-only box is a message, every other box a question.
PromptKind KindOfBox(PromptButtons buttons);

// The answer a box gives when nobody can answer it: Cancel where the box has it, else No, else OK.
PromptAnswer EscapeAnswer(PromptButtons buttons);

bool BoxHasAnswer(PromptButtons buttons, PromptAnswer answer);

// For tests: records every prompt and answers from a queue given in advance; an empty queue
// escapes the prompt as a batch run would.
class RecordingPrompter : public Prompter {
public:
    struct Prompt {
        PromptKind kind;
        std::string text;
        PromptIcon icon = PromptIcon::None;
        PromptButtons buttons = PromptButtons::Ok;
    };
    struct Reply {
        PromptAnswer answer = PromptAnswer::Ok;
        std::string value;  // path, folder or decimal colour
    };

    void Queue(PromptAnswer answer, std::string value = {}) { replies_.push_back({answer, std::move(value)}); }

    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override;
    std::optional<std::string> OpenFile(const FileRequest& request) override;
    std::optional<std::string> SaveFile(const FileRequest& request) override;
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override;
    void Beep() override { ++beeps_; }

    const std::vector<Prompt>& Prompts() const { return prompts_; }
    // The texts of every prompt, in order.
    std::vector<std::string> Texts() const;
    int Beeps() const { return beeps_; }

private:
    std::optional<std::string> Choose(PromptKind kind, const std::string& title);

    std::deque<Reply> replies_;
    std::vector<Prompt> prompts_;
    int beeps_ = 0;
};

}  // namespace zov::shell
