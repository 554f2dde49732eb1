// pop3stat's command line: the accepted forms and the refused ones.
#include "Pop3StatArgs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    EXPECT_EQ(args.security, ConnectionSecurity::None);

    Pop3StatArgs full;
    ASSERT_TRUE(
        ParsePop3StatArgs({"--report-level", "8", "--pass", "", "--port", "1110", "--security",
                           "starttls", "--timeout", "500", "--user", "", "--host", "10.0.0.5"},
                          full, problem));
    EXPECT_EQ(*full.port, 1110);
    EXPECT_EQ(*full.timeout, 500);
    EXPECT_EQ(full.reportLevel, 8);
    EXPECT_EQ(full.pass, "");
    EXPECT_EQ(full.security, ConnectionSecurity::StartTls);
}

// The password from a file, or from standard input for "-": its first line, without line end.
TEST(Pop3StatArgsTest, PasswordFileGivesItsFirstLine)
{
    const std::string path = testing::TempDir() + "pop3stat-pass.txt";
    const std::string inputPath = testing::TempDir() + "pop3stat-input.txt";  // standard input
    struct Case {
        const char* file;  // nullptr: no such file
        const char* input;
        bool ok;
        const char* pass;
    } cases[] = {
        {"-", "from input\r\nsecond\n", true, "from input"},
        {"-", "", true, ""},
        {"file", "file pass\nsecond\n", true, "file pass"},
        {"file", "no line end", true, "no line end"},
        {"file", "", true, ""},
        {nullptr, "", false, ""},
        {"file", nullptr, false, ""},  // a line longer than any password
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "missing");
        std::string content = c.input ? c.input : std::string(100000, 's') + "\n";
        std::remove(path.c_str());
        std::string name = "-";
        if (!c.file || std::string(c.file) != "-") {
            name = path;
            if (c.file)
                std::ofstream(path, std::ios::binary) << content;
        }
        std::ofstream(inputPath, std::ios::binary)
            << (c.file && std::string(c.file) == "-" ? content : "unused");
        std::FILE* input = std::fopen(inputPath.c_str(), "rb");
        ASSERT_NE(input, nullptr);
        Pop3StatArgs args;
        std::string problem;
        ASSERT_TRUE(
            ParsePop3StatArgs({"--host", "h", "--user", "u", "--pass-file", name}, args, problem))
            << problem;
        EXPECT_EQ(LoadPop3StatPassword(args, input, problem), c.ok) << problem;
        std::fclose(input);
        EXPECT_EQ(args.pass, c.pass);
        EXPECT_EQ(problem.find("sss"), std::string::npos) << "the file's text is never shown";
    }
    std::remove(path.c_str());
    std::remove(inputPath.c_str());
}

TEST(Pop3StatArgsTest, RefusesIncompleteOrMalformedLinesWithoutShowingValues)
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
        {"--host", "h", "--user", "u", "--pass", "p", "--security", "tls"},
        {"--host", "h", "--user", "u", "--pass", "p", "--security", "SSL"},
        {"-h", "h", "--user", "u", "--pass", "p"},
        {"--host", "h", "--user", "--pass", "secret"},
        {"--host", "h", "--user", "u", "--pass", "p", "secret"},
        {"--host", "h", "--user", "u", "--pass", "p", "--pass-file", "secret"},
    };
    for (const auto& line : bad) {
        Pop3StatArgs args;
        std::string problem;
        EXPECT_FALSE(ParsePop3StatArgs(line, args, problem)) << line.size() << " arguments";
        EXPECT_FALSE(problem.empty());
        EXPECT_EQ(problem.find("secret"), std::string::npos) << problem;
    }
}

}  // namespace
