#include "ide/shell/core/Prompter.h"

#include <charconv>

namespace zov::shell {

PromptKind KindOfBox(PromptButtons buttons)
{
    return buttons == PromptButtons::Ok ? PromptKind::Message : PromptKind::Question;
}

bool BoxHasAnswer(PromptButtons buttons, PromptAnswer answer)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
        return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo:
        return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
        return answer != PromptAnswer::Ok;
    }
    return false;
}

PromptAnswer EscapeAnswer(PromptButtons buttons)
{
    for (PromptAnswer answer : {PromptAnswer::Cancel, PromptAnswer::No, PromptAnswer::Ok}) {
        if (BoxHasAnswer(buttons, answer))
            return answer;
    }
    return PromptAnswer::Ok;
}

PromptAnswer RecordingPrompter::Ask(const std::string& text, PromptIcon icon, PromptButtons buttons)
{
    prompts_.push_back({KindOfBox(buttons), text, icon, buttons});
    if (replies_.empty())
        return EscapeAnswer(buttons);
    PromptAnswer answer = replies_.front().answer;
    replies_.pop_front();
    // A box lacking the named button takes its counterpart, as a scripted run does.
    if (!BoxHasAnswer(buttons, answer)) {
        if (answer == PromptAnswer::Ok && BoxHasAnswer(buttons, PromptAnswer::Yes))
            return PromptAnswer::Yes;
        if (answer == PromptAnswer::Yes && BoxHasAnswer(buttons, PromptAnswer::Ok))
            return PromptAnswer::Ok;
        if (answer == PromptAnswer::Cancel && BoxHasAnswer(buttons, PromptAnswer::No))
            return PromptAnswer::No;
        if (answer == PromptAnswer::No && BoxHasAnswer(buttons, PromptAnswer::Cancel))
            return PromptAnswer::Cancel;
        return EscapeAnswer(buttons);
    }
    return answer;
}

std::optional<std::string> RecordingPrompter::Choose(PromptKind kind, const std::string& title)
{
    prompts_.push_back({kind, title});
    if (replies_.empty())
        return std::nullopt;
    Reply reply = std::move(replies_.front());
    replies_.pop_front();
    if (reply.answer != PromptAnswer::Ok && reply.answer != PromptAnswer::Yes)
        return std::nullopt;
    return reply.value;
}

std::optional<std::string> RecordingPrompter::OpenFile(const FileRequest& request)
{
    return Choose(PromptKind::Open, request.title);
}

std::optional<std::string> RecordingPrompter::SaveFile(const FileRequest& request)
{
    return Choose(PromptKind::Save, request.title);
}

std::optional<std::string> RecordingPrompter::BrowseFolder(const std::string& title, const std::string&)
{
    return Choose(PromptKind::Folder, title);
}

std::optional<std::uint32_t> RecordingPrompter::ChooseColour(const std::string& title, std::uint32_t)
{
    std::optional<std::string> value = Choose(PromptKind::Colour, title);
    if (!value)
        return std::nullopt;
    std::uint32_t colour = 0;
    auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), colour);
    if (error != std::errc() || end != value->data() + value->size())
        return std::nullopt;
    return colour;
}

std::vector<std::string> RecordingPrompter::Texts() const
{
    std::vector<std::string> texts;
    for (const Prompt& prompt : prompts_)
        texts.push_back(prompt.text);
    return texts;
}

}  // namespace zov::shell
