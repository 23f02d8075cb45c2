// Pirrow's one XML document and the navigation over it: either a file being read element by element,
// or a new file being written element by element and saved at close. Names and texts cross this
// class in UTF-8; the conversions to and from the file's bytes happen at loading and saving.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TiXmlDocument;
class TiXmlElement;
class TiXmlNode;

namespace pirrow {

// The answer of a command on standard output.
enum class Reply {
    Silent,  // nothing: a command of the other side
    Yes,     // "1\n"
    No,      // "0\n"
};

const char* ReplyText(Reply reply);

class PirrowXml {
public:
    // Deeper documents are refused when read and not grown when written: the parser, the printer and
    // the tree's destruction all recurse once per level.
    static constexpr int kMaxDepth = 1000;

    PirrowXml();
    ~PirrowXml();
    PirrowXml(const PirrowXml&) = delete;
    PirrowXml& operator=(const PirrowXml&) = delete;

    bool IsReading() const { return m_reading; }
    bool IsWriting() const { return m_writing; }

    // Discards whatever is open (unsaved) and loads the file. No when it cannot be read or parsed.
    Reply Read(const std::string& path);
    // The same from the file's bytes.
    Reply Load(std::string_view bytes);

    // Discards whatever is open (unsaved) and starts a new document that close saves to path.
    Reply Create(const std::string& path);

    // Reading: discards the document. Writing: saves it, then discards it. Returns the reason when the
    // save failed.
    std::optional<std::string> Close();

    Reply Root(const std::string& name);
    Reply FirstTag(const std::string& name);
    Reply ChildTag(const std::string& name);
    Reply NextTag(const std::string& name);
    Reply PushTag();
    Reply PopTag();

    // The text of the current element; empty when there is none.
    std::string GetValue() const;
    // An attribute of the current node (of the selected root when there is no current node).
    std::string GetAttrib(const std::string& name) const;

    Reply NewTag(const std::string& name, const std::string& value);
    Reply NewChildTag(const std::string& name, const std::string& value);
    Reply NewComment(const std::string& text);
    Reply SetAttrib(const std::string& name, const std::string& value);

    // The bytes close would write now.
    std::string Render() const;

private:
    void Discard();
    TiXmlElement* NewElement(TiXmlNode& parent, const std::string& name, const std::string& value);

    std::unique_ptr<TiXmlDocument> m_document;
    std::string m_fileName;

    TiXmlNode* m_currentNode = nullptr;      // read side
    TiXmlElement* m_selectedRoot = nullptr;  // read side
    TiXmlNode* m_currentParent = nullptr;    // read side: where the current node was found; write side: where tags go
    TiXmlElement* m_writtenRoot = nullptr;
    TiXmlElement* m_lastElement = nullptr;
    bool m_reading = false;
    bool m_writing = false;
    std::vector<TiXmlNode*> m_readStack;
    std::vector<TiXmlNode*> m_writeStack;
};

}  // namespace pirrow
