#include "ide/shell/PromptScript.h"

#include <charconv>

namespace zov::shell {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool SameWord(std::string_view word, std::string_view lower)
{
    if (word.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

}  // namespace

ScriptLine ParseScriptLine(std::string_view line, ScriptAnswer& answer)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    line.remove_prefix(start);
    if (line.empty() || line.front() == '#')
        return ScriptLine::Skip;

    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    const std::string_view word = line.substr(0, end);
    static constexpr struct {
        std::string_view word;
        PromptAnswer button;
    } kButtons[] = {{"ok", PromptAnswer::Ok},
                    {"yes", PromptAnswer::Yes},
                    {"no", PromptAnswer::No},
                    {"cancel", PromptAnswer::Cancel}};
    for (const auto& candidate : kButtons) {
        if (SameWord(word, candidate.word)) {
            answer.button = candidate.button;
            answer.value = end < line.size() ? std::string(line.substr(end + 1)) : std::string();
            return ScriptLine::Answer;
        }
    }
    return ScriptLine::Wrong;
}

std::optional<PromptAnswer> AnswerForBox(PromptButtons buttons, PromptAnswer scripted)
{
    if (BoxHasAnswer(buttons, scripted))
        return scripted;
    PromptAnswer counterpart = scripted;
    switch (scripted) {
    case PromptAnswer::Ok:
        counterpart = PromptAnswer::Yes;
        break;
    case PromptAnswer::Yes:
        counterpart = PromptAnswer::Ok;
        break;
    case PromptAnswer::Cancel:
        counterpart = PromptAnswer::No;
        break;
    case PromptAnswer::No:
        counterpart = PromptAnswer::Cancel;
        break;
    }
    if (BoxHasAnswer(buttons, counterpart))
        return counterpart;
    return std::nullopt;
}

std::optional<std::uint32_t> ParseColourValue(std::string_view text)
{
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    std::uint32_t colour = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), colour);
    if (error != std::errc() || end != text.data() + text.size() || colour > 0xFFFFFF)
        return std::nullopt;
    return colour;
}

const char* KindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Message:
        return "message";
    case PromptKind::Question:
        return "question";
    case PromptKind::Dialog:
        return "dialog";
    case PromptKind::Open:
        return "open";
    case PromptKind::Save:
        return "save";
    case PromptKind::Folder:
        return "folder";
    case PromptKind::Colour:
        return "colour";
    }
    return "message";
}

std::string FormatPromptLine(PromptKind kind, std::string_view text)
{
    std::string line = KindName(kind);
    line += '\t';
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += "\\n";
        } else if (text[i] == '\n') {
            line += "\\n";
        } else {
            line += text[i];
        }
    }
    line += '\n';
    return line;
}

std::string ConvertFileFilter(std::string_view filter)
{
    std::string result;
    while (!filter.empty()) {
        const std::size_t labelEnd = filter.find('|');
        const std::string_view label = filter.substr(0, labelEnd);
        if (labelEnd == std::string_view::npos || label.empty())
            break;  // "||" ends the filter
        filter.remove_prefix(labelEnd + 1);
        const std::size_t patternEnd = filter.find('|');
        std::string patterns(filter.substr(0, patternEnd));
        filter.remove_prefix(patternEnd == std::string_view::npos ? filter.size() : patternEnd + 1);
        if (patterns.empty())
            break;

        std::string entry(label);
        if (entry.find(patterns) == std::string::npos) {
            for (char& c : patterns) {
                if (c == ';')
                    c = ' ';
            }
            entry += " (" + patterns + ")";
        }
        if (!result.empty())
            result += ";;";
        result += entry;
    }
    return result;
}

}  // namespace zov::shell
