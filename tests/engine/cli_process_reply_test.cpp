// The reply layer without processes: line-break translation, templates, terminator search.
#include "engine/runtime/CliCalls.h"
#include "common/NumberText.h"
#include "engine/processes/CliProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov {
namespace {

TEST(CliByteQueue, TranslatesLineBreaksByFlag)
{
    struct Case {
        std::string raw;
        bool drop;
        std::string queued;
    };
    const std::vector<Case> cases = {
        {"a\r\nb", false, "a\\r\\nb"},  // six characters
        {"a\r\nb", true, "ab"},
        {"\n\n", false, "\\n\\n"},
        {"\r", true, ""},
        {std::string("x\0y", 3), true, std::string("x\0y", 3)},
    };
    for (const Case& c : cases) {
        CliByteQueue queue;
        queue.Append(c.raw, c.drop);
        EXPECT_EQ(queue.View(), c.queued) << c.raw;
    }
    CliByteQueue queue;
    queue.Append("a\r\nb", false);
    EXPECT_EQ(queue.Size(), 6u);
}

TEST(CliByteQueue, PopsInOrderAcrossAppends)
{
    CliByteQueue queue;
    queue.Append("hello ", true);
    std::string out;
    EXPECT_EQ(queue.PopInto(out, 3), 3u);
    queue.Append("world", true);
    queue.PopInto(out, 100);
    EXPECT_EQ(out, "hello world");
    EXPECT_TRUE(queue.Empty());
}

TEST(FillCommandTemplate, FillsPlaceholdersInOrder)
{
    struct Case {
        std::string tmpl;
        std::vector<std::string> args;
        std::string sent;
    };
    const std::vector<Case> cases = {
        {"w %s %s", {"a", "b"}, "w a b\n"},         {"ver", {}, "ver"},  // no parameters: the template as it is
        {"set %s", {"a", "b"}, "set a\n"},                               // surplus argument dropped
        {"set %s %s", {"a"}, "set a %s\n"},                              // missing argument leaves the placeholder
        {"w %s %s", {"%s", "b"}, "w %s b\n"},                            // an argument holding "%s" is not refilled
        {"w %s %s", {"x%sy", "%s"}, "w x%sy %s\n"}, {"w %s", {""}, "w \n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillCommandTemplate(c.tmpl, c.args), c.sent) << c.tmpl;
}

TEST(ReplaceFirst, ContinuesAfterTheInsertedText)
{
    std::size_t from = 0;
    std::string text = ReplaceFirst("a %s %s", "%s", "%s", from);
    EXPECT_EQ(text, "a %s %s");
    EXPECT_EQ(from, 4u);
    text = ReplaceFirst(text, "%s", "z", from);
    EXPECT_EQ(text, "a %s z");
    std::size_t start = 0;
    EXPECT_EQ(ReplaceFirst("abc", "", "X", start), "Xabc");  // empty pattern inserts
    std::size_t none = 0;
    EXPECT_EQ(ReplaceFirst("abc", "q", "X", none), "abc");
    EXPECT_EQ(none, 0u);
}

TEST(CountLinesSent, CountsEveryLineEnd)
{
    EXPECT_EQ(CountLinesSent("ver"), 1u);
    EXPECT_EQ(CountLinesSent("w a b\n"), 2u);  // the command and an empty line
    EXPECT_EQ(CountLinesSent("a\r\n"), 3u);    // the CLI reads CR LF as two line ends
}

TEST(ReplyCollector, StopsAtTheFirstTerminatorAndLeavesTheRest)
{
    CliByteQueue queue;
    queue.Append("result>>next>>", true);
    ReplyCollector reply(">>");
    EXPECT_TRUE(reply.TakeFrom(queue));
    EXPECT_EQ(reply.Text(), "result>>");
    EXPECT_EQ(reply.Stripped(), "result");
    EXPECT_EQ(queue.View(), "next>>");
}

TEST(ReplyCollector, FindsATerminatorSplitAcrossReads)
{
    const std::string terminator = "<END>";
    for (std::size_t cut = 1; cut < terminator.size(); ++cut) {
        CliByteQueue queue;
        ReplyCollector reply(terminator);
        queue.Append("abc" + terminator.substr(0, cut), true);
        EXPECT_FALSE(reply.TakeFrom(queue));
        queue.Append(terminator.substr(cut) + "tail", true);
        EXPECT_TRUE(reply.TakeFrom(queue)) << cut;
        EXPECT_EQ(reply.Stripped(), "abc");
        EXPECT_EQ(queue.View(), "tail");
    }
}

TEST(ReplyCollector, OnlyTheTerminatorGivesAnEmptyReply)
{
    CliByteQueue queue;
    queue.Append(">>", true);
    ReplyCollector reply(">>");
    EXPECT_TRUE(reply.TakeFrom(queue));
    EXPECT_EQ(reply.Stripped(), "");
}

TEST(ReplyCollector, EmptyTerminatorIsFoundAtOnce)
{
    CliByteQueue queue;
    queue.Append("abc", true);
    ReplyCollector reply("");
    EXPECT_TRUE(reply.TakeFrom(queue));
    EXPECT_EQ(reply.Text(), "");
    EXPECT_EQ(queue.View(), "abc");
}

TEST(ReplyCollector, TerminatorWithLineBreaksMatchesTheirEscapedForm)
{
    CliByteQueue queue;
    queue.Append("ok\r\n", false);
    ReplyCollector reply("\\r\\n");
    EXPECT_TRUE(reply.TakeFrom(queue));
    EXPECT_EQ(reply.Stripped(), "ok");
}

TEST(RemoveTerminators, RemovesEveryOccurrence)
{
    EXPECT_EQ(RemoveTerminators(">>a>>b>>", ">>"), "ab");
    EXPECT_EQ(RemoveTerminators(">>>", ">>"), ">");
    EXPECT_EQ(RemoveTerminators("abc", ""), "abc");
}

TEST(ReplyConversion, ReadsLeadingNumbersAsTheCRuntimeDoes)
{
    struct Case {
        std::string reply;
        int asInt;
        double asDouble;
    };
    const std::vector<Case> cases = {
        {"42", 42, 42.0},
        {"  -7abc", -7, -7.0},
        {"", 0, 0.0},
        {"x1", 0, 0.0},
        {"3.75", 3, 3.75},
        {"+12", 12, 12.0},
        {"99999999999", 2147483647, 99999999999.0},
        {"-99999999999", -2147483647 - 1, -99999999999.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingInt(c.reply), c.asInt) << c.reply;
        EXPECT_DOUBLE_EQ(ReplyToDouble(c.reply), c.asDouble) << c.reply;
    }
}

}  // namespace
}  // namespace zov
