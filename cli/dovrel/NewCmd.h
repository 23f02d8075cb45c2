// Dovrel's command table: the file commands bound to the framework's line protocol. The work
// itself is done by CDovrelFiles; this class holds the switch variables and writes the replies.
#pragma once

#include "DovrelFiles.h"
#include "MainCmd.h"

#include <climits>
#include <cstdint>
#include <string>

class CFileCmd : public CMainCmd {
public:
    CFileCmd();
    ~CFileCmd() override;

    // Closes the current file, so that everything written reaches the disk before the end.
    void Clean() override;

    // Path switches take any path the system accepts: a longer one is cut to PATH_MAX
    // characters, which the system refuses, so a cut path never names another file.
    static constexpr size_t kPathBufferSize = PATH_MAX + 1;

private:
    template <void (CFileCmd::*Method)()>
    static void Call(void* cmd)
    {
        (static_cast<CFileCmd*>(cmd)->*Method)();
    }

    static void Answer(const dovrel::Reply& reply);
    // A path as scripts write it: "\\" separates folders as "/" does (scripts and the paths
    // they are given come from Windows as often as not).
    static std::string LocalPath(const char* path);

    void OnOpen() { Answer(m_Files.Open(LocalPath(m_cFileName), dovrel::OpenMode::ReadText)); }
    void OnOpenBin() { Answer(m_Files.Open(LocalPath(m_cFileName), dovrel::OpenMode::ReadBinary)); }
    void OnCreate() { Answer(m_Files.Open(LocalPath(m_cFileName), dovrel::OpenMode::WriteText)); }
    void OnCreateBin() { Answer(m_Files.Open(LocalPath(m_cFileName), dovrel::OpenMode::WriteBinary)); }
    void OnEof() { Answer(m_Files.Eof()); }
    void OnFileSize() { Answer(m_Files.FileSize()); }
    void OnReadLine() { Answer(m_Files.ReadLine()); }
    void OnRead() { Answer(m_Files.Read(m_ulSize)); }
    void OnWriteLine() { Answer(m_Files.WriteLine(m_cDataBuffer)); }
    void OnWrite() { Answer(m_Files.Write(m_cDataBuffer)); }
    void OnSeekBegin() { Answer(m_Files.SeekBegin()); }
    void OnSeekEnd() { Answer(m_Files.SeekEnd()); }
    void OnSeek() { Answer(m_Files.Seek(m_lSeekPos)); }
    void OnTell() { Answer(m_Files.Tell()); }
    void OnClose() { Answer(m_Files.Close()); }
    void OnExist() { Answer(dovrel::CDovrelFiles::Exist(LocalPath(m_cFileName))); }
    void OnErase() { Answer(dovrel::CDovrelFiles::Erase(LocalPath(m_cFileName))); }
    void OnRename() { Answer(dovrel::CDovrelFiles::Rename(LocalPath(m_cFileName), LocalPath(m_cNewName))); }
    void OnCopy() { Answer(dovrel::CDovrelFiles::Copy(LocalPath(m_cFileName), LocalPath(m_cDestName))); }
    void OnFindFile() { Answer(dovrel::CDovrelFiles::FindFile(LocalPath(m_cPath), m_cMask)); }
    void OnFindDir() { Answer(dovrel::CDovrelFiles::FindDir(LocalPath(m_cPath))); }
    void OnCreateDir() { Answer(dovrel::CDovrelFiles::CreateDir(LocalPath(m_cPath))); }

    uint32_t m_ulSize = 0;
    int32_t m_lSeekPos = 0;
    // One file-name buffer serves -file, -old and -src: every command resets its own switches
    // before it reads the line.
    char m_cFileName[kPathBufferSize] = {};
    char m_cDestName[kPathBufferSize] = {};
    char m_cPath[kPathBufferSize] = {};
    char m_cMask[kPathBufferSize] = {};
    char m_cNewName[kPathBufferSize] = {};
    char m_cDataBuffer[dovrel::kDataBufferSize] = {};
    dovrel::CDovrelFiles m_Files;
};
