#include "ide/output/model/TraceRtf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace zov::output {
namespace {

std::string ReadGolden(const std::string& name)
{
    std::ifstream in(std::string(ZOV_SOURCE_DIR) + "/tests/output/golden/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TraceRtf, ColourTableAndRunsMatchTheGolden)
{
    const std::vector<ColouredRun> runs = {
        {0x000000, "10:00:00.000 (1) "}, {0xFF0000, "system {x} \\ end\n"},
        {0x000000, "10:00:00.001 (1) "}, {0x808040, "[0003] caf\xC3\xA9 \xF0\x9F\x98\x80\tok\n"},
        {0x000000, "10:00:00.002 (1) "}, {0xFF0000, "again\n"},
    };
    EXPECT_EQ(WriteTraceRtf(runs), ReadGolden("trace.rtf"));
}

TEST(TraceRtf, EmptyPaneIsAValidDocument)
{
    const std::string rtf = WriteTraceRtf({});
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("{\\colortbl ;}"), std::string::npos);
    int depth = 0;
    for (const char c : rtf)
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace zov::output
