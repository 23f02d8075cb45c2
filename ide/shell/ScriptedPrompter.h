#pragma once
// The prompter of tests and batch runs: it answers every prompt from a file of answer lines and
// never opens a window. Without a file every prompt is escaped, as nobody is there to answer.

#include "ide/shell/PromptScript.h"
#include "ide/shell/core/Prompter.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace zov::shell {

// Appends one line per prompt to a file (when one is named): "<kind>\t<text>". The file is opened
// for each line, so that a test or a second process may read or truncate it in between.
class PromptLog {
public:
    PromptLog() = default;
    explicit PromptLog(std::filesystem::path file) : file_(std::move(file)) {}

    // The file named by ZOV_IDE_PROMPTER_LOG, or none.
    static PromptLog FromEnvironment();

    void Write(PromptKind kind, std::string_view text) const;

private:
    std::filesystem::path file_;
};

class ScriptedPrompter : public Prompter {
public:
    // `script` empty: no answers (batch mode). `errors` receives one line per escaped prompt.
    ScriptedPrompter(std::filesystem::path script, PromptLog log, std::FILE* errors = stderr);

    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override;
    std::optional<std::string> OpenFile(const FileRequest& request) override;
    std::optional<std::string> SaveFile(const FileRequest& request) override;
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override;

    // A modal dialog titled `title`: true when it is to end through its OK handling, false through
    // its Cancel handling.
    bool AnswerDialog(const std::string& title);

    // Reports that the answer taken for the last prompt could not be given (the dialog refused
    // it); the prompt is then escaped.
    void RefuseLastAnswer();

private:
    // Logs the prompt, then takes the next answer line; none when no line is left or the line is
    // wrong (the prompt is then escaped, and said so on `errors_`).
    std::optional<ScriptAnswer> Take(PromptKind kind, const std::string& text);
    void Escape(const char* reason);

    std::filesystem::path script_;
    PromptLog log_;
    std::FILE* errors_;
    int linesTaken_ = 0;  // skipped ones included
    int lastAnswerLine_ = 0;
    PromptKind lastKind_ = PromptKind::Message;
    std::string lastText_;
};

// A path given in an answer line, as a dialog would give it: decoded, absolute, without "." or "..".
std::string AnswerPath(const std::string& value);

}  // namespace zov::shell
