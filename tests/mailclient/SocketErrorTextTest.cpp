// Socket error texts: known codes with their text, unknown codes, no error.
#include "SocketErrorText.h"

#include <gtest/gtest.h>

namespace {

TEST(SocketErrorTextTest, CodesGiveTheirText)
{
    struct Case {
        int code;
        const char* text;
    } cases[] = {
        {0, ""},
        {10004, "10004:Interrupted system call"},
        {10035, "10035:Operation would block"},
        {10047, "10047:Address family not supported by protocol family"},
        {10061, "10061:Connection refused"},
        {10071, "10071:Too many levels of remote in path"},
        {10091, "10091:Network subsystem is unavailable"},
        {11003, "11003:Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
        {11004, "11004:Valid name, no data record of requested type"},
        {10099, "Unknown Error No. 10099"},
        {10072, "Unknown Error No. 10072"},
        {-1, "Unknown Error No. -1"},
        {11005, "Unknown Error No. 11005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SocketErrorText(c.code), c.text) << "code " << c.code;
}

TEST(SocketErrorTextTest, TableHasFiftyCodes)
{
    int known = 0;
    for (int code = 10000; code < 11100; ++code)
        known += SocketErrorText(code).rfind("Unknown", 0) != 0;
    EXPECT_EQ(known, 50);
}

}  // namespace
