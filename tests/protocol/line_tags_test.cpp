// Every line format the engine writes classifies to the tag its reader must see: the IDE's
// dispatch and the demo runner sort the engine's output by this one classifier.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "common/protocol/EngineProtocol.h"
#include "engine/base/Messages.h"

namespace {

using zov::protocol::ClassifyLine;
using zov::protocol::LineTag;

struct FormatCase {
    const char* name;
    const char* format;
    LineTag expected;
};

#define LINE(name, tag)                       \
    FormatCase                                \
    {                                         \
#name, zov::lines::name, LineTag::tag \
    }

const FormatCase kFormats[] = {
    LINE(VersionText, None),
    LINE(VerboseBanner, None),
    LINE(UsageBanner, None),
    LINE(MakerLine, None),
    LINE(EmptyLine, None),
    LINE(UsageText, None),
    LINE(HelpStart, None),
    LINE(HelpCommand, None),
    LINE(HelpDescription, None),
    LINE(HelpParameters, None),
    LINE(HelpParameterSquare, None),
    LINE(HelpParameterAngle, None),
    LINE(HelpNoParameter, None),
    LINE(HelpBlockEnd, None),
    // The -v echo "command: ..." begins with "com", not "cmd": it continues the last tag.
    LINE(CommandEcho, None),
    LINE(EngineInitialisation, None),
    LINE(EngMissingInterface, Eng),
    LINE(EngMissingScript, Eng),
    LINE(EngMissingParams, Eng),
    LINE(EngMissingLine, Eng),
    LINE(EngMissingState, Eng),
    LINE(EngBreakpointLineOutOfRange, Eng),
    LINE(EngStopEndedByConsole, Eng),
    LINE(BackspaceEcho, None),
    LINE(ClearScreen, None),
    LINE(EngInitStart, Eng),
    LINE(EngReadGrammar, Eng),
    LINE(EngStepSuccess, Eng),
    LINE(EngCannotReadVerbose, Eng),
    LINE(EngCannotRead, Eng),
    LINE(EngCannotAddFunction, Eng),
    LINE(EngBadFunctionInit, Eng),
    LINE(EngReadInterface, Eng),
    LINE(EngInterfaceLineError, Eng),
    LINE(EngInitErrors, Eng),
    LINE(EngInitEnd, Eng),
    LINE(EngAnalyseStart, Eng),
    LINE(EngAnalyseRefused, Eng),
    LINE(EngReadScript, Eng),
    LINE(EngScriptSize, Eng),
    LINE(EngLineTooLong, Eng),
    LINE(EngScriptNulByte, Eng),
    LINE(EngBufferSize, Eng),
    LINE(EngJoinLines, Eng),
    LINE(EngMacros, Eng),
    LINE(EngExpandedSize, Eng),
    LINE(EngMacroTooDeep, Eng),
    LINE(EngMacroNoMemory, Eng),
    LINE(EngMacroTooLarge, Eng),
    LINE(EngBuildTree, Eng),
    LINE(EngEmptyTree, Eng),
    LINE(EngNameAnalysis, Eng),
    LINE(EngTypeAnalysis, Eng),
    LINE(EngTypeAnalysisFailed, Eng),
    LINE(EngAnalyseEnd, Eng),
    LINE(EngScriptMemory, Eng),
    LINE(EngVerifyOk, Eng),
    LINE(VrfOk, Vrf),
    LINE(EngVerifyNok, Eng),
    LINE(VrfNok, Vrf),
    LINE(EngExecuteStart, Eng),
    LINE(EngExecuteRefused, Eng),
    LINE(EngExecuteEnd, Eng),
    LINE(EngNullNameAnalysis, Eng),
    LINE(EngNullTypeAnalysis, Eng),
    // Scan and parse messages arrive whole through this format; their own texts carry the tag.
    LINE(PrebuiltText, None),
    LINE(ErrScriptTooLarge, Err),
    LINE(ErrScriptMemoryTooLarge, Err),
    LINE(ErrScriptNoMemory, Err),
    LINE(ErrLine, Err),
    LINE(ErrLineIndex, Err),
    LINE(CmdBreakpoint, Cmd),
    LINE(CmdRun, Cmd),
    LINE(CmdValDecimal, Cmd),
    LINE(CmdValBasedDecimal, Cmd),
    LINE(CmdValHex, Cmd),
    LINE(CmdValVoid, Cmd),
    LINE(CmdValBinary, Cmd),
    LINE(CmdValOctal, Cmd),
    LINE(CmdValReal, Cmd),
    LINE(CmdValTrue, Cmd),
    LINE(CmdValFalse, Cmd),
    LINE(CmdValString, Cmd),
    LINE(CmdOk, Cmd),
    LINE(CmdNok, Cmd),
    LINE(CmdWarning, Cmd),
    LINE(CmdInfo, Cmd),
    LINE(Trace, Trc),
    LINE(SyncSent, Syn),
    LINE(ExportData, Exp),
    LINE(ImportRequest, Imp),
    LINE(OutNamed, Out),
    LINE(OutUnnamed, Out),
    LINE(OutNamedTimeout, Out),
    LINE(OutUnnamedTimeout, Out),
    LINE(OutNamedTimeoutEmpty, Out),
    LINE(OutUnnamedTimeoutEmpty, Out),
    LINE(EngCliDebugStart, Eng),
    LINE(EngCliDebugIn, Eng),
    LINE(EngCliDebugOut, Eng),
    LINE(EngCliStopping, Eng),
    LINE(EngCliStopped, Eng),
    // Standard error lines are untagged ("Erreur" is not "err": the match is case-sensitive).
    LINE(ErrCliCannotStart, None),
    LINE(ErrCliMissing, None),
    LINE(ErrCliCannotStop, None),
    LINE(ErrProcessCannotEnd, None),
    LINE(ErrWatchThread, None),
    LINE(ErrCliForcedEnd, None),
};

#undef LINE

TEST(LineTags, EveryEngineLineFormatClassifiesToItsTag)
{
    for (const FormatCase& c : kFormats)
        EXPECT_EQ(ClassifyLine(c.format), c.expected) << c.name << ": " << c.format;
}

// The table above must name every line format of the engine: a new format added without its
// expected tag fails here.
TEST(LineTags, TableCoversEveryLineFormatOfTheEngine)
{
    std::ifstream in(std::string(ZOV_SOURCE_DIR) + "/engine/base/Messages.h");
    ASSERT_TRUE(in) << "cannot read engine/base/Messages.h";
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::size_t begin = all.find("namespace lines {");
    const std::size_t end = all.find("}  // namespace lines");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string block = all.substr(begin, end - begin);
    std::set<std::string> declared;
    const std::regex constant(R"(inline constexpr char (\w+)\[\])");
    for (std::sregex_iterator it(block.begin(), block.end(), constant), last; it != last; ++it)
        declared.insert((*it)[1]);
    std::set<std::string> listed;
    for (const FormatCase& c : kFormats)
        listed.insert(c.name);
    EXPECT_EQ(declared, listed);
}

TEST(LineTags, FirstMatchingTagWinsAndMatchIsCaseSensitive)
{
    const struct {
        const char* line;
        LineTag expected;
    } cases[] = {
        {"out:[cli] hello", LineTag::Out},
        {"trc: 3:42", LineTag::Trc},
        {"trc", LineTag::Trc},  // the tag alone
        {"tr", LineTag::None},  // shorter than any tag
        {"", LineTag::None},
        {"vrf : 1", LineTag::Vrf},
        {"cmd:val:x:0:1", LineTag::Cmd},
        {"CMD: ok : 1 : x", LineTag::None},
        {" cmd: ok : 1 : x", LineTag::None},  // a leading blank is no tag
        {"Erreur: CLI inexistant", LineTag::None},
        {"command: getval -name x", LineTag::None},
        {"errant text", LineTag::Err},  // only the three letters are compared
        {"dpb: 9 : texte", LineTag::Dpb},
        {"syn: 7", LineTag::Syn},
        {"exp: N : V", LineTag::Exp},
        {"imp: N", LineTag::Imp},
        {"eng:*** Analyse...", LineTag::Eng},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyLine(c.line), c.expected) << '"' << c.line << '"';
}

TEST(LineTags, TagTextRoundTrips)
{
    for (const auto& entry : zov::protocol::kLineTags) {
        EXPECT_EQ(zov::protocol::TagText(entry.tag), entry.text);
        EXPECT_EQ(ClassifyLine(std::string(entry.text) + ":"), entry.tag);
    }
    EXPECT_EQ(zov::protocol::TagText(LineTag::None), "");
}

}  // namespace
