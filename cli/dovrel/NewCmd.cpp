#include "NewCmd.h"

#include <algorithm>

#include "main.h"

#include <cstdio>

namespace {

CMainCmd* CreateFileCmd()
{
    return new CFileCmd;
}

}  // namespace

const TToolInfo g_tToolInfo = {"Dovrel", "ZOV file access", &CreateFileCmd};

CFileCmd::CFileCmd()
{
    int i = AddCmd("open", &Call<&CFileCmd::OnOpen>, "Open text file");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    i = AddCmd("openbin", &Call<&CFileCmd::OnOpenBin>, "Open binary file");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    i = AddCmd("create", &Call<&CFileCmd::OnCreate>, "Create text file");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    i = AddCmd("createbin", &Call<&CFileCmd::OnCreateBin>, "Create binary file");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    AddCmd("eof", &Call<&CFileCmd::OnEof>, "Test if end of then current file");
    AddCmd("filesize", &Call<&CFileCmd::OnFileSize>, "Get size of file");
    AddCmd("readline", &Call<&CFileCmd::OnReadLine>, "Read line of text");
    i = AddCmd("read", &Call<&CFileCmd::OnRead>, "Read data ofthe active file");
    AddArg(i, "-size", &m_ulSize, "Size of data");
    i = AddCmd("writeline", &Call<&CFileCmd::OnWriteLine>, "Write line of text");
    AddArg(i, "-buf", m_cDataBuffer, sizeof m_cDataBuffer, "Line buffer");
    i = AddCmd("write", &Call<&CFileCmd::OnWrite>, "Write data");
    AddArg(i, "-buf", m_cDataBuffer, sizeof m_cDataBuffer, "data buffer");
    AddArg(i, "-size", &m_ulSize, "Size of data");
    AddCmd("seekbegin", &Call<&CFileCmd::OnSeekBegin>, "Seek file at the beginning");
    AddCmd("seekend", &Call<&CFileCmd::OnSeekEnd>, "Seek file at the end");
    i = AddCmd("seek", &Call<&CFileCmd::OnSeek>, "Seek file at position");
    AddArg(i, "-pos", &m_lSeekPos, "Seek position");
    AddCmd("tell", &Call<&CFileCmd::OnTell>, "Get current seek position");
    AddCmd("close", &Call<&CFileCmd::OnClose>, "Close current active file");
    i = AddCmd("exist", &Call<&CFileCmd::OnExist>, "Check if the file exist");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    i = AddCmd("erase", &Call<&CFileCmd::OnErase>, "Erase file");
    AddArg(i, "-file", m_cFileName, sizeof m_cFileName, "File name");
    i = AddCmd("rename", &Call<&CFileCmd::OnRename>, "Rename file name");
    AddArg(i, "-old", m_cFileName, sizeof m_cFileName, "Old file name");
    AddArg(i, "-new", m_cNewName, sizeof m_cNewName, "New file name");
    i = AddCmd("copy", &Call<&CFileCmd::OnCopy>, "Copy a file");
    AddArg(i, "-src", m_cFileName, sizeof m_cFileName, "File to copy");
    AddArg(i, "-dst", m_cDestName, sizeof m_cDestName, "Destination file name");
    i = AddCmd("findfile", &Call<&CFileCmd::OnFindFile>, "Find all the files in path according to a mask");
    AddArg(i, "-path", m_cPath, sizeof m_cPath, "Finding path");
    AddArg(i, "-mask", m_cMask, sizeof m_cMask, "Mask");
    i = AddCmd("finddir", &Call<&CFileCmd::OnFindDir>, "Find all the subpath in a path");
    AddArg(i, "-path", m_cPath, sizeof m_cPath, "Finding path");
    i = AddCmd("createdir", &Call<&CFileCmd::OnCreateDir>, "Create path and subpath");
    AddArg(i, "-path", m_cPath, sizeof m_cPath, "Path to create");
}

CFileCmd::~CFileCmd() = default;

void CFileCmd::Clean()
{
    m_Files.Close();
}

// The framework sends both streams as a whole when the line is answered.
std::string CFileCmd::LocalPath(const char* path)
{
    std::string local(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

void CFileCmd::Answer(const dovrel::Reply& reply)
{
    std::fwrite(reply.out.data(), 1, reply.out.size(), stdout);
    std::fwrite(reply.err.data(), 1, reply.err.size(), stderr);
}
