// Any bytes as the file Pirrow reads: loading must answer 1 or 0 and never crash, the nesting scan
// must never find less depth than the parser then builds, and the navigation and the writer must
// cope with whatever the file held.
#include "PirrowXml.h"
#include "common/xml/XmlDepth.h"
#include "common/xml/XmlText.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

int TreeDepth(const TiXmlNode* node, int level)
{
    int deepest = level;
    for (const TiXmlNode* child = node->FirstChildElement(); child; child = child->NextSiblingElement()) {
        deepest = std::max(deepest, TreeDepth(child, level + 1));
    }
    return deepest;
}

// The guard's promise, checked against the parser itself.
void CheckDepthScan(std::string_view bytes)
{
    const auto prepared = zov::xml::PrepareXmlInput(bytes);
    if (!prepared) {
        return;
    }
    // The text the parser gets, as loading makes it.
    const std::string text = zov::xml::RepairForParser(*prepared);
    const auto scanned = zov::xml::ElementDepth(text);
    if (!scanned || *scanned > pirrow::PirrowXml::kMaxDepth) {
        return;
    }
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (TreeDepth(&document, 0) > *scanned) {
        __builtin_trap();
    }
}

// First element names of the file, so the navigation finds something.
std::string FirstName(std::string_view bytes, size_t from)
{
    const size_t open = bytes.find('<', from);
    if (open == std::string_view::npos) {
        return "a";
    }
    size_t end = open + 1;
    while (end < bytes.size() && end - open < 32 && bytes[end] != '>' && bytes[end] != ' ' && bytes[end] != '/') {
        ++end;
    }
    return std::string(bytes.substr(open + 1, end - open - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDepthScan(bytes);

    pirrow::PirrowXml xml;
    if (xml.Load(bytes) != pirrow::Reply::Yes) {
        return 0;
    }
    const std::string root = FirstName(bytes, bytes.find("?>") == std::string_view::npos ? 0 : bytes.find("?>"));
    const std::string tag = FirstName(bytes, bytes.find('>') == std::string_view::npos ? 0 : bytes.find('>'));
    std::string values;
    if (xml.Root(root) == pirrow::Reply::Yes || xml.Root("a") == pirrow::Reply::Yes) {
        values += xml.GetAttrib("id");
        xml.FirstTag(tag);
        xml.PushTag();
        for (int step = 0; step < 8; ++step) {
            values += xml.GetValue();
            values += xml.GetAttrib(tag);
            if (xml.ChildTag(tag) != pirrow::Reply::Yes) {
                xml.PopTag();
                xml.NextTag(tag);
            }
        }
    }

    // Whatever was read goes through the writer's escaping.
    xml.Create("/nonexistent/pirrow-fuzz.xml");
    xml.Root("r");
    xml.NewTag("t", values);
    xml.SetAttrib("k", values);
    xml.NewComment(values.substr(0, 63));
    (void)xml.Render();
    return 0;
}
