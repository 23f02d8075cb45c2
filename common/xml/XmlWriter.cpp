#include "common/xml/XmlWriter.h"

#include "common/xml/XmlText.h"

#include <tinyxml.h>


namespace zov::xml {

namespace {

void Indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth) * 4, ' ');
}

void PrintNode(std::string& out, const TiXmlNode& node, int depth);

void PrintElement(std::string& out, const TiXmlElement& element, int depth)
{
    Indent(out, depth);
    const std::string name = Latin1Name(element.ValueStr());
    out += '<';
    out += name;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute; attribute = attribute->Next()) {
        const std::string& value = attribute->ValueStr();
        const char quote = value.find('"') == std::string::npos ? '"' : '\'';
        out += ' ';
        out += Latin1Name(attribute->NameTStr());
        out += '=';
        out += quote;
        out += EscapeAttribute(value);
        out += quote;
    }
    const TiXmlNode* first = element.FirstChild();
    if (!first) {
        out += " />";
    } else if (first == element.LastChild() && first->ToText()) {
        out += '>';
        PrintNode(out, *first, depth + 1);
        out += "</" + name + '>';
    } else {
        out += '>';
        for (const TiXmlNode* child = first; child; child = child->NextSibling()) {
            if (!child->ToText()) {
                out += '\n';
            }
            PrintNode(out, *child, depth + 1);
        }
        out += '\n';
        Indent(out, depth);
        out += "</" + name + '>';
    }
}

void PrintDeclaration(std::string& out, const TiXmlDeclaration& declaration)
{
    out += "<?xml ";
    const auto field = [&out](const char* key, const char* value) {
        if (value && *value) {
            out += key;
            out += "=\"";
            out += EscapeAttribute(value);
            out += "\" ";
        }
    };
    field("version", declaration.Version());
    field("encoding", declaration.Encoding());
    field("standalone", declaration.Standalone());
    out += "?>";
}

void PrintNode(std::string& out, const TiXmlNode& node, int depth)
{
    if (const TiXmlElement* element = node.ToElement()) {
        PrintElement(out, *element, depth);
    } else if (const TiXmlText* text = node.ToText()) {
        out += ElementText(text->ValueStr());
    } else if (const TiXmlComment* comment = node.ToComment()) {
        Indent(out, depth);
        out += "<!--" + CommentText(comment->ValueStr()) + "-->";
    } else if (const TiXmlDeclaration* declaration = node.ToDeclaration()) {
        PrintDeclaration(out, *declaration);
    }
    // The writers never create other kinds of node.
}

}  // namespace

std::string PrintDocument(const TiXmlDocument& document)
{
    return PrintDocument(document, {});
}

std::string PrintDocument(const TiXmlDocument& document, std::string_view styleSheetHref)
{
    std::string out;
    bool styleSheetWritten = styleSheetHref.empty();
    for (const TiXmlNode* node = document.FirstChild(); node; node = node->NextSibling()) {
        PrintNode(out, *node, 0);
        if (!styleSheetWritten && node->ToDeclaration()) {
            out += "<?xml-stylesheet href=\"" + EscapeAttribute(styleSheetHref) + "\" type=\"text/xsl\"?>";
            styleSheetWritten = true;
        }
        out += '\n';
    }
    return out;
}

}  // namespace zov::xml
