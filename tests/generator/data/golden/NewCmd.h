//------------------------------------------------------------------------------
// File    : NewCmd.h
// Author  :
// Date    :
// Purpose : the program's own commands
//------------------------------------------------------------------------------
#ifndef NEWCMD_H
#define NEWCMD_H

#include "MainCmd.h"

#define MAX_FILENAME_SIZE 128
#define MAX_BUFFER_SIZE 1024

class CNewCmd : public CMainCmd {
public:
    CNewCmd();
    virtual ~CNewCmd() {}

    // Prints the m_iValue-th prime number.
    void CalcPrime();
    static void CallCalcPrime(void* cmd);

private:
    int32_t m_iValue;
};

#endif
