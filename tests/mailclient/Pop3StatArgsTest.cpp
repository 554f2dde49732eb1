// pop3stat's command line: the accepted forms and the refused ones.
#include "Pop3StatArgs.h"

#include <gtest/gtest.h>

namespace {

TEST(Pop3StatArgsTest, AcceptsTheDocumentedForms)
{
    Pop3StatArgs args;
    std::string problem;
    ASSERT_TRUE(ParsePop3StatArgs({"--host", "h", "--user", "u", "--pass", "p"}, args, problem));
    EXPECT_EQ(args.host, "h");
    EXPECT_EQ(args.user, "u");
    EXPECT_EQ(args.pass, "p");
    EXPECT_FALSE(args.port);
    EXPECT_FALSE(args.timeout);
    EXPECT_EQ(args.reportLevel, 0);

    Pop3StatArgs full;
    ASSERT_TRUE(ParsePop3StatArgs({"--report-level", "8", "--pass", "", "--port", "1110",
                                   "--timeout", "500", "--user", "", "--host", "10.0.0.5"},
                                  full, problem));
    EXPECT_EQ(*full.port, 1110);
    EXPECT_EQ(*full.timeout, 500);
    EXPECT_EQ(full.reportLevel, 8);
    EXPECT_EQ(full.pass, "");
}

TEST(Pop3StatArgsTest, RefusesIncompleteOrMalformedLines)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--host", "h", "--user", "u"},
        {"--host", "h", "--user", "u", "--pass"},
        {"--host", "h", "--user", "u", "--pass", "p", "--port", "0"},
        {"--host", "h", "--user", "u", "--pass", "p", "--port", "65536"},
        {"--host", "h", "--user", "u", "--pass", "p", "--port", "11x"},
        {"--host", "h", "--user", "u", "--pass", "p", "--timeout", "-1"},
        {"--host", "h", "--user", "u", "--pass", "p", "--timeout", "0"},
        {"--host", "h", "--user", "u", "--pass", "p", "--verbose", "1"},
        {"-h", "h", "--user", "u", "--pass", "p"},
    };
    for (const auto& line : bad) {
        Pop3StatArgs args;
        std::string problem;
        EXPECT_FALSE(ParsePop3StatArgs(line, args, problem)) << line.size() << " arguments";
        EXPECT_FALSE(problem.empty());
    }
}

}  // namespace
