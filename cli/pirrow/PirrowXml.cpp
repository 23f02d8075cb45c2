#include "PirrowXml.h"

#include "common/xml/XmlDepth.h"
#include "common/xml/XmlText.h"
#include "common/xml/XmlWriter.h"
#include "common/AtomicFile.h"

#include <tinyxml.h>

#include <cstdio>

namespace pirrow {

namespace {

using zov::xml::ElementDepth;
using zov::xml::IsWritableName;
using zov::xml::PrepareXmlInput;
using zov::xml::PrintDocument;
using zov::xml::RepairForParser;

std::optional<std::string> ReadBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
    }
    // A folder opens but does not read.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

int DepthOf(const TiXmlNode* node)
{
    int depth = 0;
    for (; node && !node->ToDocument(); node = node->Parent()) {
        ++depth;
    }
    return depth;
}

}  // namespace

const char* ReplyText(Reply reply)
{
    switch (reply) {
    case Reply::Yes:
        return "1\n";
    case Reply::No:
        return "0\n";
    case Reply::Silent:
        break;
    }
    return "";
}

PirrowXml::PirrowXml() : m_document(std::make_unique<TiXmlDocument>()) {}

PirrowXml::~PirrowXml() = default;

void PirrowXml::Discard()
{
    m_document = std::make_unique<TiXmlDocument>();
    m_fileName.clear();
    m_currentNode = nullptr;
    m_selectedRoot = nullptr;
    m_currentParent = nullptr;
    m_writtenRoot = nullptr;
    m_lastElement = nullptr;
    m_reading = false;
    m_writing = false;
    m_readStack.clear();
    m_writeStack.clear();
}

Reply PirrowXml::Read(const std::string& path)
{
    Discard();
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) {
        return Reply::No;
    }
    const Reply reply = Load(*bytes);
    if (reply == Reply::Yes) {
        m_fileName = path;
    }
    return reply;
}

Reply PirrowXml::Load(std::string_view bytes)
{
    Discard();
    const std::optional<std::string> prepared = PrepareXmlInput(bytes);
    if (!prepared) {
        return Reply::No;
    }
    const std::string text = RepairForParser(*prepared);
    const std::optional<int> depth = ElementDepth(text);
    if (!depth || *depth > kMaxDepth) {
        return Reply::No;
    }
    m_document->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (m_document->Error()) {
        Discard();
        return Reply::No;
    }
    m_reading = true;
    return Reply::Yes;
}

Reply PirrowXml::Create(const std::string& path)
{
    // Whatever was open goes first, so a document being read never ends up in the new file.
    Discard();
    m_fileName = path;
    m_writing = true;
    m_document->LinkEndChild(new TiXmlDeclaration("1.0", "ISO-8859-1", ""));
    return Reply::Yes;
}

std::optional<std::string> PirrowXml::Close()
{
    std::optional<std::string> failure;
    if (m_writing) {
        std::error_code error;
        if (!zov::WriteFileAtomically(m_fileName, Render(), error)) {
            failure = error.message();
        }
    }
    Discard();
    return failure;
}

Reply PirrowXml::Root(const std::string& name)
{
    if (m_reading) {
        m_selectedRoot = m_document->FirstChildElement(name);
        return m_selectedRoot ? Reply::Yes : Reply::No;
    }
    if (m_writing) {
        if (!IsWritableName(name)) {
            return Reply::No;
        }
        m_writtenRoot = static_cast<TiXmlElement*>(m_document->LinkEndChild(new TiXmlElement(name)));
        m_currentParent = m_writtenRoot;
        return Reply::Yes;
    }
    return Reply::No;
}

Reply PirrowXml::FirstTag(const std::string& name)
{
    if (!m_reading) {
        return Reply::Silent;
    }
    if (!m_selectedRoot) {
        return Reply::No;
    }
    if (!m_currentNode) {
        m_currentParent = m_selectedRoot;
    }
    m_currentNode = m_currentParent->FirstChildElement(name);
    return m_currentNode ? Reply::Yes : Reply::No;
}

Reply PirrowXml::ChildTag(const std::string& name)
{
    if (!m_reading || !m_currentNode) {
        return Reply::No;
    }
    m_currentParent = m_currentNode;
    m_currentNode = m_currentParent->FirstChildElement(name);
    return m_currentNode ? Reply::Yes : Reply::No;
}

Reply PirrowXml::NextTag(const std::string& name)
{
    if (!m_reading) {
        return Reply::Silent;
    }
    if (!m_currentNode) {
        return Reply::No;
    }
    TiXmlElement* next = m_currentNode->NextSiblingElement(name);
    if (!next) {
        return Reply::No;
    }
    m_currentNode = next;
    return Reply::Yes;
}

Reply PirrowXml::PushTag()
{
    if (m_reading) {
        m_readStack.push_back(m_currentNode ? m_currentNode->Parent() : m_selectedRoot);
        return Reply::Yes;
    }
    if (m_writing && m_currentParent) {
        m_writeStack.push_back(m_currentParent);
        return Reply::Yes;
    }
    return Reply::No;
}

Reply PirrowXml::PopTag()
{
    if (m_reading) {
        TiXmlNode* saved = nullptr;
        if (!m_readStack.empty()) {
            saved = m_readStack.back();
            m_readStack.pop_back();
        }
        m_currentNode = saved;
        m_currentParent = saved;
        return Reply::Yes;
    }
    if (m_writing) {
        if (m_writeStack.empty()) {
            return Reply::No;
        }
        m_currentParent = m_writeStack.back();
        m_writeStack.pop_back();
        return Reply::Yes;
    }
    return Reply::No;
}

std::string PirrowXml::GetValue() const
{
    const TiXmlElement* element = m_currentNode ? m_currentNode->ToElement() : nullptr;
    const char* text = element ? element->GetText() : nullptr;
    return text ? text : "";
}

std::string PirrowXml::GetAttrib(const std::string& name) const
{
    const TiXmlNode* node = m_currentNode ? m_currentNode : m_selectedRoot;
    const TiXmlElement* element = node ? node->ToElement() : nullptr;
    const std::string* value = element ? element->Attribute(name) : nullptr;
    return value ? *value : "";
}

TiXmlElement* PirrowXml::NewElement(TiXmlNode& parent, const std::string& name, const std::string& value)
{
    auto* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(value));
    return static_cast<TiXmlElement*>(parent.LinkEndChild(element));
}

Reply PirrowXml::NewTag(const std::string& name, const std::string& value)
{
    if (!m_writing) {
        return Reply::Silent;
    }
    if (!m_currentParent || !IsWritableName(name) || DepthOf(m_currentParent) >= kMaxDepth) {
        return Reply::No;
    }
    m_lastElement = NewElement(*m_currentParent, name, value);
    return Reply::Yes;
}

Reply PirrowXml::NewChildTag(const std::string& name, const std::string& value)
{
    if (!m_writing) {
        return Reply::Silent;
    }
    if (!m_currentParent || !m_lastElement || !IsWritableName(name) || DepthOf(m_lastElement) >= kMaxDepth) {
        return Reply::No;
    }
    m_currentParent = m_lastElement;
    m_lastElement = NewElement(*m_lastElement, name, value);
    return Reply::Yes;
}

Reply PirrowXml::NewComment(const std::string& text)
{
    if (!m_writing) {
        return Reply::Silent;
    }
    if (!m_currentParent) {
        return Reply::No;
    }
    m_currentParent->LinkEndChild(new TiXmlComment(text.c_str()));
    return Reply::Yes;
}

Reply PirrowXml::SetAttrib(const std::string& name, const std::string& value)
{
    if (!m_lastElement || !IsWritableName(name)) {
        return Reply::No;
    }
    m_lastElement->SetAttribute(name, value);
    return Reply::Yes;
}

std::string PirrowXml::Render() const
{
    return m_writing ? PrintDocument(*m_document) : std::string();
}

}  // namespace pirrow
