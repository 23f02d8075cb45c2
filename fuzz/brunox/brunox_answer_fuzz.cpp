// Any bytes as a file of answers: every line is skipped, taken or refused, never a crash; a
// cancel never carries a value; an item index is only ever one the list has.
#include "BrunoxAnswers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first byte, when there is one, gives the length of the list the indexes are checked against.
    const int count = size > 0 ? data[0] % 8 : 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        TPromptAnswer answer;
        const EAnswerLine kind = ParseAnswerLine(line, answer);
        if (kind == EAnswerLine::Answer && !answer.bOk && !answer.value.empty())
            std::abort();
        if (answer.value.size() > line.size())
            std::abort();
        int index = -1;
        if (ParseItemIndex(answer.value, count, index) && (index < 0 || index >= count))
            std::abort();
    }
    return 0;
}
