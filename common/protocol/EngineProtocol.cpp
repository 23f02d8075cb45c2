#include "common/protocol/EngineProtocol.h"

namespace zov::protocol {

LineTag ClassifyLine(std::string_view line)
{
    for (const TagEntry& entry : kLineTags)
        if (line.substr(0, entry.text.size()) == entry.text)
            return entry.tag;
    return LineTag::None;
}

std::string_view TagText(LineTag tag)
{
    for (const TagEntry& entry : kLineTags)
        if (entry.tag == tag)
            return entry.text;
    return {};
}

}  // namespace zov::protocol
