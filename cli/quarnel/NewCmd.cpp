#include "NewCmd.h"

#include "main.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double OneOver180 = 0.005555555555555556;
constexpr double OneOverPi = 0.3183098861837907;

CCalcCmd* Self(void* cmd)
{
    return static_cast<CCalcCmd*>(cmd);
}

CMainCmd* CreateCalcCmd()
{
    return new CCalcCmd();
}

}  // namespace

const TToolInfo g_tToolInfo = {
    .pName = "Quarnel",
    .pMaker = "ZOV test bench - mathematical functions",
    .pCreate = &CreateCalcCmd,
    .pInit = nullptr,
    .pInputMap = nullptr,
    .bEndAfterInterface = true,
};

double DegreesToRadians(double degrees)
{
    const long double product =
        static_cast<long double>(degrees) * static_cast<long double>(Pi) * static_cast<long double>(OneOver180);
    return static_cast<double>(product);
}

double RadiansToDegrees(double radians)
{
    const long double product = static_cast<long double>(radians) * 180.0L * static_cast<long double>(OneOverPi);
    return static_cast<double>(product);
}

CCalcCmd::CCalcCmd()
{
    struct TEntry {
        const char* pWord;
        ActionFunc pFunction;
        const char* pHelp;
        const char* pValueHelp;
    };
    static constexpr TEntry Commands[] = {
        {"sin", &CCalcCmd::Sin, "Calculate sin(x)", "angle"},
        {"sinh", &CCalcCmd::Sinh, "Calculate sinh(x)", "angle"},
        {"asin", &CCalcCmd::Asin, "Calculate asin(x)", "Value"},
        {"cos", &CCalcCmd::Cos, "Calculate cos(x)", "angle"},
        {"cosh", &CCalcCmd::Cosh, "Calculate cosh(x)", "angle"},
        {"acos", &CCalcCmd::Acos, "Calculate acos(x)", "Value"},
        {"tan", &CCalcCmd::Tan, "Calculate tan(x)", "angle"},
        {"tanh", &CCalcCmd::Tanh, "Calculate tanh(x)", "angle"},
        {"atan", &CCalcCmd::Atan, "Calculate atan(x)", "Value"},
        {"deg2rad", &CCalcCmd::Deg2Rad, "Convert degre to radian", "Value"},
        {"rad2deg", &CCalcCmd::Rad2Deg, "Convert radian to degre", "Value"},
        {"log", &CCalcCmd::Log, "Calculate log(x)", "Value"},
        {"log10", &CCalcCmd::Log10, "Calculate log10(x)", "Value"},
        {"exp", &CCalcCmd::Exp, "Calculate exp(x)", "Value"},
        {"sqrt", &CCalcCmd::Sqrt, "Calculate sqrt(x)", "Value"},
        {"ceil", &CCalcCmd::Ceil, "Calculate ceil(x)", "Value"},
        {"floor", &CCalcCmd::Floor, "Calculate floor(x)", "Value"},
    };
    for (const TEntry& entry : Commands) {
        const int index = AddCmd(entry.pWord, entry.pFunction, entry.pHelp);
        AddArg(index, "-v", &m_dValue, entry.pValueHelp);
    }
}

void CCalcCmd::Calculate(Function function)
{
    // Non-finite results print as the C library writes them ("inf", "-nan", ...).
    std::printf("%.15f\n", function(m_dValue));
}

void CCalcCmd::SquareRoot()
{
    // Zero is a valid argument; only negative values (and NaN) have no square root. Adding 0 turns
    // the root of -0 into +0.
    if (m_dValue >= 0.0)
        std::printf("%.15f\n", std::sqrt(m_dValue) + 0.0);
    else
        std::fputs("-1.0\n", stdout);
}

void CCalcCmd::Sin(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::sin(v); });
}
void CCalcCmd::Sinh(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::sinh(v); });
}
void CCalcCmd::Asin(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::asin(v); });
}
void CCalcCmd::Cos(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::cos(v); });
}
void CCalcCmd::Cosh(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::cosh(v); });
}
void CCalcCmd::Acos(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::acos(v); });
}
void CCalcCmd::Tan(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::tan(v); });
}
void CCalcCmd::Tanh(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::tanh(v); });
}
void CCalcCmd::Atan(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::atan(v); });
}
void CCalcCmd::Deg2Rad(void* cmd)
{
    Self(cmd)->Calculate(&DegreesToRadians);
}
void CCalcCmd::Rad2Deg(void* cmd)
{
    Self(cmd)->Calculate(&RadiansToDegrees);
}
void CCalcCmd::Log(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::log(v); });
}
void CCalcCmd::Log10(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::log10(v); });
}
void CCalcCmd::Exp(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::exp(v); });
}
void CCalcCmd::Sqrt(void* cmd)
{
    Self(cmd)->SquareRoot();
}
void CCalcCmd::Ceil(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::ceil(v); });
}
void CCalcCmd::Floor(void* cmd)
{
    Self(cmd)->Calculate([](double v) { return std::floor(v); });
}
