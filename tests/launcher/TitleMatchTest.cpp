// Byte-wise title search: where the searched text may and may not be found.
#include <gtest/gtest.h>

#include <string>

#include "TitleMatch.h"

namespace {

struct Case {
    const char* name;
    std::string title;  // the bytes that were read
    const char* searched;
    bool expected;
};

const Case kCases[] = {
    {"exact", "Pomaria Pomaria2000", "Pomaria Pomaria2000", true},
    {"inside", "[x] Pomaria Pomaria2000", "Pomaria Pomaria2000", true},
    {"cut short by the read", "xxxxxxPomaria Pomaria20", "Pomaria Pomaria2000", false},
    {"empty title", "", "Ledgerwise", false},
    {"case matters", "LEDGERWISE", "Ledgerwise", false},
    // Code page 949 lead and trail bytes are compared as plain bytes.
    {"after Korean bytes", "\xC6\xF7\xB8\xB6 Ledgerwise", "Ledgerwise", true},
    {"Korean searched text", "\xB0\xE8\xBE\xE0 \xB0\xFC\xB8\xAE", "\xB0\xFC\xB8\xAE", true},
    {"split Korean pair", "\xB0\xE8\xBE", "\xBE\xE0", false},
};

TEST(TitleMatchTest, Cases)
{
    for (const Case& c : kCases) {
        EXPECT_EQ(launcher::TitleContains(c.title.data(), c.title.size(), c.searched), c.expected)
            << c.name;
    }
}

TEST(TitleMatchTest, OnlyTheLengthGivenIsSearched)
{
    const char title[] = "abc Ledgerwise";
    EXPECT_TRUE(launcher::TitleContains(title, 14, "Ledgerwise"));
    EXPECT_FALSE(launcher::TitleContains(title, 13, "Ledgerwise"));
    EXPECT_FALSE(launcher::TitleContains(nullptr, 0, "Ledgerwise"));
}

TEST(TitleMatchTest, EmbeddedNulBytesDoNotEndTheSearch)
{
    const std::string title("a\0Ledgerwise", 12);
    EXPECT_TRUE(launcher::TitleContains(title.data(), title.size(), "Ledgerwise"));
}

}  // namespace
