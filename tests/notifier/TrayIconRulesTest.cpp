// The tool-tip cut, the mouse-message table and the frame steps.
#include "TrayIconRules.h"

#include <gtest/gtest.h>

namespace {

bool Cp949Lead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool NoLead(unsigned char)
{
    return false;
}

TEST(TrayIconRulesTest, ShortHintCutsAtBarAndAtSixtyThreeBytes)
{
    const std::string korean = "\xB8\xDE\xC0\xCF";  // two characters of code page 949
    const std::string barTrail = "\xA1\x7C";        // a character whose second byte is "|"
    struct Case {
        std::string hint;
        TLeadByteTest lead;
        std::string shown;
    } cases[] = {
        {"", NoLead, ""},
        {"no mail", NoLead, "no mail"},
        {"first|second", NoLead, "first"},
        {"|all hidden", NoLead, ""},
        {"a|b|c", NoLead, "a"},
        {std::string(63, 'x'), NoLead, std::string(63, 'x')},
        {std::string(64, 'x'), NoLead, std::string(63, 'x')},
        {std::string(200, 'x') + "|y", NoLead, std::string(63, 'x')},
        {korean + "|tail", Cp949Lead, korean},
        {barTrail + "x|y", Cp949Lead, barTrail + "x"},
        {std::string(62, 'x') + korean, Cp949Lead, std::string(62, 'x')},
        {std::string(61, 'x') + korean, Cp949Lead, std::string(61, 'x') + korean.substr(0, 2)},
        {"x\xB8", Cp949Lead, "x\xB8"},  // a lead byte at the very end stays a byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortHint(c.hint, c.lead), c.shown) << "hint of " << c.hint.size() << " bytes";
    }
}

TEST(TrayIconRulesTest, MouseMessageTable)
{
    using K = TTrayMouseKind;
    using B = TMouseButton;
    struct Row {
        std::uint32_t message;
        K kind;
        B button;
        TShiftState state;
    } rows[] = {
        {0x200, K::Move, B::mbLeft, 0},
        {0x201, K::Down, B::mbLeft, ssLeft},
        {0x202, K::Up, B::mbLeft, ssLeft},
        {0x203, K::DoubleClick, B::mbLeft, ssDouble},
        {0x204, K::Down, B::mbRight, ssRight},
        {0x205, K::Up, B::mbRight, ssRight},
        {0x206, K::DoubleClick, B::mbRight, ssDouble},
        {0x207, K::Down, B::mbMiddle, ssMiddle},
        {0x208, K::Up, B::mbMiddle, ssMiddle},
        {0x209, K::DoubleClick, B::mbMiddle, ssDouble},
        {0x1FF, K::None, B::mbLeft, 0},
        {0x20A, K::None, B::mbLeft, 0},
    };
    for (const Row& row : rows) {
        const TTrayMouseAction action = TrayMouseAction(row.message);
        EXPECT_EQ(action.kind, row.kind) << std::hex << row.message;
        EXPECT_EQ(action.button, row.button) << std::hex << row.message;
        EXPECT_EQ(action.buttonState, row.state) << std::hex << row.message;
    }
}

TEST(TrayIconRulesTest, FramesClampAndWrap)
{
    EXPECT_EQ(ClampFrame(-1, 3), 0);
    EXPECT_EQ(ClampFrame(2, 3), 2);
    EXPECT_EQ(ClampFrame(7, 3), 2);
    EXPECT_EQ(NextFrame(0, 3), 1);
    EXPECT_EQ(NextFrame(2, 3), 0);
    EXPECT_EQ(NextFrame(5, 3), 0);  // a list that shrank under the index starts over
    EXPECT_EQ(NextFrame(0, 1), 0);
}

}  // namespace
