#include "engine/tree/expressions/ConstStr.h"

namespace zov {

void CConstStr::SetFromImage(std::string_view image)
{
    text_.assign(image.size() >= 2 ? image.substr(1, image.size() - 2) : std::string_view());
}

std::string CConstStr::ReplaceEscapes(std::string_view written)
{
    std::string out;
    out.reserve(written.size());
    for (size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == written.size())
            break;
        switch (written[i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case '0':
            return out;
        default:
            out += written[i];
            break;
        }
    }
    return out;
}

int CConstStr::TypeAnalysis(CSymbolStore*, TypeCode& typeOut, CErrorList&, std::uint32_t)
{
    typeOut = kTypeString;
    return kAnalysisDone;
}

JumpTarget CConstStr::Execute(CSymbolStore*, CValue& valueOut, CDebugger&)
{
    if (text_.find('\\') == std::string::npos)
        valueOut.SetText(text_);
    else
        valueOut.AdoptText(ReplaceEscapes(text_));
    return nullptr;
}

}  // namespace zov
