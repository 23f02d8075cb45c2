#include "ide/shell/ScriptedPrompter.h"

#include "common/TextCodec.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace zov::shell {

namespace fs = std::filesystem;

PromptLog PromptLog::FromEnvironment()
{
    const char* file = std::getenv(kPrompterLogVariable);
    if (file == nullptr || file[0] == '\0')
        return PromptLog();
    return PromptLog(file);
}

void PromptLog::Write(PromptKind kind, std::string_view text) const
{
    if (file_.empty())
        return;
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out << FormatPromptLine(kind, DecodeText(text));
}

ScriptedPrompter::ScriptedPrompter(fs::path script, PromptLog log, std::FILE* errors)
    : script_(std::move(script)), log_(std::move(log)), errors_(errors)
{}

std::string AnswerPath(const std::string& value)
{
    std::error_code error;
    fs::path path = fs::absolute(fs::path(DecodeText(value)), error);
    if (error)
        return {};
    path = path.lexically_normal();
    std::string text = path.generic_string();
    if (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

void ScriptedPrompter::Escape(const char* reason)
{
    if (errors_ == nullptr)
        return;
    std::string line = FormatPromptLine(lastKind_, lastText_);
    if (reason != nullptr) {
        line.pop_back();
        line += '\t';
        line += reason;
        line += '\n';
    }
    std::fputs(line.c_str(), errors_);
    std::fflush(errors_);
}

std::optional<ScriptAnswer> ScriptedPrompter::Take(PromptKind kind, const std::string& text)
{
    log_.Write(kind, text);
    lastKind_ = kind;
    lastText_ = DecodeText(text);
    lastAnswerLine_ = 0;
    if (script_.empty()) {
        Escape(nullptr);
        return std::nullopt;
    }
    // Read afresh at each prompt: answers may be appended while the program runs.
    std::ifstream in(script_, std::ios::binary);
    std::string line;
    for (int i = 0; i < linesTaken_ && std::getline(in, line); ++i) {
    }
    while (in && std::getline(in, line)) {
        ++linesTaken_;
        ScriptAnswer answer;
        switch (ParseScriptLine(line, answer)) {
        case ScriptLine::Skip:
            continue;
        case ScriptLine::Answer:
            lastAnswerLine_ = linesTaken_;
            return answer;
        case ScriptLine::Wrong:
            lastAnswerLine_ = linesTaken_;
            RefuseLastAnswer();
            return std::nullopt;
        }
    }
    const std::string reason = "pas de r\xC3\xA9ponse dans " + DecodeText(script_.string());
    Escape(reason.c_str());
    return std::nullopt;
}

void ScriptedPrompter::RefuseLastAnswer()
{
    const std::string reason =
        "r\xC3\xA9ponse impossible, ligne " + std::to_string(lastAnswerLine_) + " de " + DecodeText(script_.string());
    Escape(reason.c_str());
}

PromptAnswer ScriptedPrompter::Ask(const std::string& text, PromptIcon, PromptButtons buttons)
{
    const std::optional<ScriptAnswer> answer = Take(KindOfBox(buttons), text);
    if (!answer)
        return EscapeAnswer(buttons);
    if (const std::optional<PromptAnswer> given = AnswerForBox(buttons, answer->button))
        return *given;
    RefuseLastAnswer();
    return EscapeAnswer(buttons);
}

namespace {

bool IsOk(const ScriptAnswer& answer)
{
    return answer.button == PromptAnswer::Ok || answer.button == PromptAnswer::Yes;
}

}  // namespace

std::optional<std::string> ScriptedPrompter::OpenFile(const FileRequest& request)
{
    const std::optional<ScriptAnswer> answer = Take(PromptKind::Open, request.title);
    if (!answer || !IsOk(*answer))
        return std::nullopt;
    // The dialog opens only a file that is there.
    std::error_code error;
    const std::string path = answer->value.empty() ? std::string() : AnswerPath(answer->value);
    if (path.empty() || !fs::is_regular_file(path, error)) {
        RefuseLastAnswer();
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> ScriptedPrompter::SaveFile(const FileRequest& request)
{
    const std::optional<ScriptAnswer> answer = Take(PromptKind::Save, request.title);
    if (!answer || !IsOk(*answer))
        return std::nullopt;
    // The dialog saves into a folder that is there, never onto a folder.
    std::error_code error;
    const std::string path = answer->value.empty() ? std::string() : AnswerPath(answer->value);
    if (path.empty() || fs::is_directory(path, error) || !fs::is_directory(fs::path(path).parent_path(), error)) {
        RefuseLastAnswer();
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> ScriptedPrompter::BrowseFolder(const std::string& title, const std::string& initialFolder)
{
    const std::optional<ScriptAnswer> answer = Take(PromptKind::Folder, title);
    if (!answer || !IsOk(*answer))
        return std::nullopt;
    // OK alone takes the folder the picker opened on.
    const std::string& chosen = answer->value.empty() ? initialFolder : answer->value;
    std::error_code error;
    const std::string path = chosen.empty() ? std::string() : AnswerPath(chosen);
    if (path.empty() || !fs::is_directory(path, error)) {
        RefuseLastAnswer();
        return std::nullopt;
    }
    return path;
}

std::optional<std::uint32_t> ScriptedPrompter::ChooseColour(const std::string& title, std::uint32_t initial)
{
    const std::optional<ScriptAnswer> answer = Take(PromptKind::Colour, title);
    if (!answer || !IsOk(*answer))
        return std::nullopt;
    // OK alone keeps the colour the dialog opened with.
    if (answer->value.empty())
        return initial & 0xFFFFFF;
    const std::optional<std::uint32_t> colour = ParseColourValue(answer->value);
    if (!colour)
        RefuseLastAnswer();
    return colour;
}

bool ScriptedPrompter::AnswerDialog(const std::string& title)
{
    const std::optional<ScriptAnswer> answer = Take(PromptKind::Dialog, title);
    return answer && IsOk(*answer);
}

}  // namespace zov::shell
