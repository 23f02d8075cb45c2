#include "common/xml/XmlReader.h"

#include "common/xml/XmlDepth.h"
#include "common/xml/XmlText.h"

#include <tinyxml.h>

#include <optional>

namespace zov::xml {

bool ParseXmlDocument(std::string_view bytes, TiXmlDocument& document)
{
    const std::optional<std::string> prepared = PrepareXmlInput(bytes);
    if (!prepared) {
        return false;
    }
    const std::string text = RepairForParser(*prepared);
    const std::optional<int> depth = ElementDepth(text);
    if (!depth || *depth > kMaxXmlDepth) {
        return false;
    }
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !document.Error();
}

std::string FirstChildText(const TiXmlElement& element, const char* name)
{
    const TiXmlElement* child = element.FirstChildElement(name);
    if (!child) {
        return {};
    }
    const char* text = child->GetText();
    return text ? std::string(text) : std::string();
}

}  // namespace zov::xml
