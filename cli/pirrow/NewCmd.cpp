#include "NewCmd.h"

#include "common/xml/XmlText.h"
#include "main.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

CMainCmd* CreateXmlCmd()
{
    return new CXmlCmd();
}

void Answer(pirrow::Reply reply)
{
    std::fputs(pirrow::ReplyText(reply), stdout);
}

void AnswerText(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

// The text of a switch buffer. The framework refuses a value that does not fit, so a text that fills
// the buffer is whole as typed: its last byte stays even when it is no complete UTF-8 sequence (a
// Windows-1252 letter).
std::string TextOf(const char* buffer, size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}

}  // namespace

const TToolInfo g_tToolInfo = {
    .pName = "Pirrow",
    .pMaker = "ZOV test bench - XML files",
    .pCreate = &CreateXmlCmd,
    .pInit = nullptr,
    .pInputMap = nullptr,
    .bEndAfterInterface = false,
};

CXmlCmd::CXmlCmd()
{
    int index = AddCmd("read", &Call<&CXmlCmd::OnRead>, "Read XML file");
    AddArg(index, "-file", m_cFileName, sizeof m_cFileName, "File name");

    index = AddCmd("create", &Call<&CXmlCmd::OnCreate>, "Create XML file");
    AddArg(index, "-file", m_cFileName, sizeof m_cFileName, "File name");

    AddCmd("close", &Call<&CXmlCmd::OnClose>, "Close XML file");

    index = AddCmd("root", &Call<&CXmlCmd::OnRoot>, "Select 'root' tag");
    AddArg(index, "-name", m_cRootName, sizeof m_cRootName, "Root name");

    index = AddCmd("firsttag", &Call<&CXmlCmd::OnFirstTag>, "Select first tag");
    AddArg(index, "-name", m_cTagName, sizeof m_cTagName, "Tag name");

    index = AddCmd("newtag", &Call<&CXmlCmd::OnNewTag>, "Create a new tag");
    AddArg(index, "-name", m_cTagName, sizeof m_cTagName, "Tag name");
    AddArg(index, "-val", m_cValue, sizeof m_cValue, "Tag value");

    index = AddCmd("newcomment", &Call<&CXmlCmd::OnNewComment>, "Create a new comment");
    AddArg(index, "-txt", m_cValue, kCommentSize, "Comment test");

    index = AddCmd("newchildtag", &Call<&CXmlCmd::OnNewChildTag>, "Create a new child tag");
    AddArg(index, "-name", m_cTagName, sizeof m_cTagName, "Tag name");
    AddArg(index, "-val", m_cValue, sizeof m_cValue, "Tag value");

    index = AddCmd("childtag", &Call<&CXmlCmd::OnChildTag>, "Select child tag");
    AddArg(index, "-name", m_cTagName, sizeof m_cTagName, "Tag name");

    AddCmd("pushtag", &Call<&CXmlCmd::OnPushTag>, "Push current tag");
    AddCmd("poptag", &Call<&CXmlCmd::OnPopTag>, "Pop last tag");
    AddCmd("nexttag", &Call<&CXmlCmd::OnNextTag>, "Select next tag");
    AddCmd("getvalue", &Call<&CXmlCmd::OnGetValue>, "Read tag value");

    index = AddCmd("getattrib", &Call<&CXmlCmd::OnGetAttrib>, "Read attribute value");
    AddArg(index, "-name", m_cAttribName, sizeof m_cAttribName, "Attrib name");

    index = AddCmd("setattrib", &Call<&CXmlCmd::OnSetAttrib>, "Set attribute value");
    AddArg(index, "-name", m_cAttribName, sizeof m_cAttribName, "Attrib name");
    AddArg(index, "-val", m_cValue, sizeof m_cValue, "Attrib value");
}

void CXmlCmd::OnRead()
{
    Answer(m_Xml.Read(m_cFileName));
}

void CXmlCmd::OnCreate()
{
    Answer(m_Xml.Create(m_cFileName));
}

void CXmlCmd::OnClose()
{
    if (const auto failure = m_Xml.Close()) {
        std::fprintf(stderr, "Cannot save XML file %s: %s\n", m_cFileName, failure->c_str());
    }
}

void CXmlCmd::OnRoot()
{
    Answer(m_Xml.Root(TextOf(m_cRootName, sizeof m_cRootName)));
}

void CXmlCmd::OnFirstTag()
{
    Answer(m_Xml.FirstTag(TextOf(m_cTagName, sizeof m_cTagName)));
}

void CXmlCmd::OnNewTag()
{
    Answer(m_Xml.NewTag(TextOf(m_cTagName, sizeof m_cTagName), TextOf(m_cValue, sizeof m_cValue)));
}

void CXmlCmd::OnNewComment()
{
    Answer(m_Xml.NewComment(TextOf(m_cValue, kCommentSize)));
}

void CXmlCmd::OnNewChildTag()
{
    Answer(m_Xml.NewChildTag(TextOf(m_cTagName, sizeof m_cTagName), TextOf(m_cValue, sizeof m_cValue)));
}

void CXmlCmd::OnChildTag()
{
    Answer(m_Xml.ChildTag(TextOf(m_cTagName, sizeof m_cTagName)));
}

void CXmlCmd::OnPushTag()
{
    Answer(m_Xml.PushTag());
}

void CXmlCmd::OnPopTag()
{
    Answer(m_Xml.PopTag());
}

void CXmlCmd::OnNextTag()
{
    Answer(m_Xml.NextTag(TextOf(m_cTagName, sizeof m_cTagName)));
}

void CXmlCmd::OnGetValue()
{
    AnswerText(m_Xml.GetValue());
}

void CXmlCmd::OnGetAttrib()
{
    AnswerText(m_Xml.GetAttrib(TextOf(m_cAttribName, sizeof m_cAttribName)));
}

void CXmlCmd::OnSetAttrib()
{
    Answer(m_Xml.SetAttrib(TextOf(m_cAttribName, sizeof m_cAttribName), TextOf(m_cValue, sizeof m_cValue)));
}
