#include "BrunoxAnswers.h"

#include "common/AsciiCase.h"

#include <charconv>

namespace {

using zov::EqualsIgnoringAsciiCase;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

EAnswerLine ParseAnswerLine(std::string_view line, TPromptAnswer& answer)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    if (start == line.size() || line[start] == '#')
        return EAnswerLine::Skip;
    std::size_t end = start;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    const std::string_view button = line.substr(start, end - start);
    answer.value = end < line.size() ? std::string(line.substr(end + 1)) : std::string();
    if (EqualsIgnoringAsciiCase(button, "ok") || EqualsIgnoringAsciiCase(button, "yes")) {
        answer.bOk = true;
        return EAnswerLine::Answer;
    }
    answer.bOk = false;
    // A cancelled dialog gives nothing back: a value here means the file is out of step.
    if ((EqualsIgnoringAsciiCase(button, "cancel") || EqualsIgnoringAsciiCase(button, "no")) && answer.value.empty())
        return EAnswerLine::Answer;
    return EAnswerLine::Wrong;
}

bool ParseItemIndex(std::string_view text, int count, int& index)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value >= count)
        return false;
    index = value;
    return true;
}
