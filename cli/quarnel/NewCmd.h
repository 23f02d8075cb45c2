// Quarnel's commands: one real value in, one real value out, printed with 15 decimals.
#pragma once

#include "MainCmd.h"

class CCalcCmd : public CMainCmd {
public:
    CCalcCmd();

private:
    using Function = double (*)(double);
    void Calculate(Function function);
    void SquareRoot();

    static void Sin(void* cmd);
    static void Sinh(void* cmd);
    static void Asin(void* cmd);
    static void Cos(void* cmd);
    static void Cosh(void* cmd);
    static void Acos(void* cmd);
    static void Tan(void* cmd);
    static void Tanh(void* cmd);
    static void Atan(void* cmd);
    static void Deg2Rad(void* cmd);
    static void Rad2Deg(void* cmd);
    static void Log(void* cmd);
    static void Log10(void* cmd);
    static void Exp(void* cmd);
    static void Sqrt(void* cmd);
    static void Ceil(void* cmd);
    static void Floor(void* cmd);

    double m_dValue = 0.0;  // bound to -v of every command
};

// The conversions between degrees and radians: the product is formed in extended precision and
// rounded to a double once.
double DegreesToRadians(double degrees);
double RadiansToDegrees(double radians);
