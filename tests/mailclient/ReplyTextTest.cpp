// Reply line parsing: fields, the positive-reply rule, STAT counts and reply codes.
#include "Exceptions.h"
#include "ReplyText.h"

#include <gtest/gtest.h>

namespace {

TEST(ReplyTextTest, NthFieldSplitsOnSingleSeparators)
{
    struct Case {
        const char* text;
        char separator;
        int n;
        const char* field;
    } cases[] = {
        {"", ' ', 1, ""},
        {"", ' ', 2, ""},
        {"+OK 3 4200\r\n", ' ', 1, "+OK"},
        {"+OK 3 4200\r\n", ' ', 2, "3"},
        {"+OK 3 4200\r\n", ' ', 3, "4200\r\n"},
        {"+OK 3 4200\r\n", ' ', 4, ""},
        {"a  b", ' ', 2, ""},
        {"a  b", ' ', 3, "b"},
        {" lead", ' ', 1, ""},
        {"tail ", ' ', 2, ""},
        {"x,y,z", ',', 3, "z"},
        {"word", ' ', 1, "word"},
        {"word", ' ', 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NthField(c.text, c.separator, c.n), c.field)
            << "text '" << c.text << "' field " << c.n;
}

TEST(ReplyTextTest, PositiveWhenFirstFieldContainsOk)
{
    struct Case {
        const char* line;
        bool positive;
    } cases[] = {
        {"+OK ready\r\n", true},
        {"+OK\r\n", true},
        {"+OK\n", true},
        {"+OK", true},
        {"x+OKy rest\r\n", true},
        {"-ERR +OK\r\n", false},
        {"-ERR no\r\n", false},
        {"+ok lower\r\n", false},
        {" +OK leading space\r\n", false},
        {"", false},
        {"OK\r\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPositiveReply(c.line), c.positive) << "line '" << c.line << "'";
}

TEST(ReplyTextTest, StatCountIsSecondFieldAsPlainInteger)
{
    struct Case {
        const char* reply;
        int32_t count;
    } cases[] = {
        {"+OK 3 4200\r\n", 3},
        {"+OK 0 0\r\n", 0},
        {"+OK 3\r\n", 0},
        {"+OK 3\n", 0},
        {"+OK 12345 1\r\n", 12345},
        {"+OK 2147483647 1\r\n", 2147483647},
        {"+OK 2147483648 1\r\n", 0},
        {"+OK -4 1\r\n", -4},
        {"+OK 3x 1\r\n", 0},
        {"+OK  3 1\r\n", 0},
        {"+OK", 0},
        {"+OK 99999999999999999999 1\r\n", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatMessageCount(c.reply), c.count) << "reply '" << c.reply << "'";
}

TEST(ReplyTextTest, ReplyCodeIsLeadingDigitRun)
{
    struct Case {
        const char* line;
        int16_t code;
    } cases[] = {
        {"+OK 250\r\n", 0}, {"250 ok\r\n", 250},   {"32767 max", 32767}, {"", 0},
        {"7", 7},           {"00000000000123", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingReplyCode(c.line), c.code) << "line '" << c.line << "'";
    EXPECT_THROW(LeadingReplyCode("32768 too big"), Exception);
    EXPECT_THROW(LeadingReplyCode("99999999999"), Exception);
}

}  // namespace
