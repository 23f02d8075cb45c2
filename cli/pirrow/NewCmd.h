// Pirrow's command table: the XML commands bound to the framework's line protocol. The document and
// its navigation live in pirrow::PirrowXml; this class holds the switch buffers and writes the replies.
#pragma once

#include "MainCmd.h"
#include "PirrowXml.h"

#include <climits>
#include <cstddef>

class CXmlCmd : public CMainCmd {
public:
    CXmlCmd();

    // A path longer than the system accepts is cut to PATH_MAX characters, which the system refuses,
    // so a cut path never names another file.
    static constexpr size_t kPathBufferSize = PATH_MAX + 1;
    static constexpr size_t kValueSize = 4096;
    // A comment keeps at most 63 bytes of -txt.
    static constexpr size_t kCommentSize = 64;
    // Names are not cut at 63 bytes: a cut name would write or look for another element.
    static constexpr size_t kNameSize = 4096;

private:
    template <void (CXmlCmd::*Method)()>
    static void Call(void* cmd)
    {
        (static_cast<CXmlCmd*>(cmd)->*Method)();
    }

    void OnRead();
    void OnCreate();
    void OnClose();
    void OnRoot();
    void OnFirstTag();
    void OnNewTag();
    void OnNewComment();
    void OnNewChildTag();
    void OnChildTag();
    void OnPushTag();
    void OnPopTag();
    void OnNextTag();
    void OnGetValue();
    void OnGetAttrib();
    void OnSetAttrib();

    pirrow::PirrowXml m_Xml;
    char m_cFileName[kPathBufferSize] = {};
    // -val of newtag, newchildtag and setattrib, and -txt of newcomment (64 bytes of it).
    char m_cValue[kValueSize] = {};
    char m_cAttribName[kNameSize] = {};
    // -name of firsttag, newtag, newchildtag and childtag; nexttag searches with what it holds.
    char m_cTagName[kNameSize] = {};
    char m_cRootName[kNameSize] = {};
};
