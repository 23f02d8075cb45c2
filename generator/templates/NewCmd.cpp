//------------------------------------------------------------------------------
// File    : NewCmd.cpp
// Author  :
// Date    :
// Purpose : the program's own commands; Calc is an example to replace
//------------------------------------------------------------------------------
#include "NewCmd.h"

#include <cstdio>

CNewCmd::CNewCmd() : m_iValue(0)
{
    // The base constructor has registered help, the exit command, cls and ver.
    const int iCmd = AddCmd("Calc", &CNewCmd::CallCalcPrime, "Calc prime number");
    AddArg(iCmd, "-n", &m_iValue, "Number of prime number");
}

void CNewCmd::CallCalcPrime(void* cmd)
{
    // The switches are bound before the call: m_iValue holds -n.
    static_cast<CNewCmd*>(cmd)->CalcPrime();
}

void CNewCmd::CalcPrime()
{
    if (m_iValue <= 1) {
        std::printf("2\n");
        return;
    }
    // 2 and 3 are the first two primes; only odd candidates follow.
    long long count = 2;
    long long candidate = 3;
    while (count < m_iValue) {
        candidate += 2;
        bool prime = true;
        for (long long divisor = 3; divisor * divisor <= candidate; divisor += 2) {
            if (candidate % divisor == 0) {
                prime = false;
                break;
            }
        }
        if (prime)
            ++count;
    }
    std::printf("%lld\n", candidate);
}
