// Appointment list behaviour through the control's automation members.
#include <gtest/gtest.h>

#include "FakeHost.h"

namespace weekview {
namespace {

using Lines = std::vector<std::string>;

struct Range {
    int16_t st;
    int32_t sd;
    int16_t et;
    int32_t ed;
};

Range Stored(WeekViewControl& c, int16_t i)
{
    return Range{c.GetAppointTimeStart(i), c.GetAppointDateStart(i), c.GetAppointTimeEnd(i),
                 c.GetAppointDateEnd(i)};
}

void ExpectRange(const Range& got, const Range& want)
{
    EXPECT_EQ(got.st, want.st);
    EXPECT_EQ(got.sd, want.sd);
    EXPECT_EQ(got.et, want.et);
    EXPECT_EQ(got.ed, want.ed);
}

TEST(AppointmentStoreTest, AddNormalisesTheRange)
{
    struct Case {
        Range given, stored;
    } cases[] = {
        {{600, 35070, 540, 35070}, {540, 35070, 600, 35070}},    // times exchanged
        {{60, 35072, 900, 35070}, {900, 35070, 60, 35072}},      // dates and times together
        {{600, 35070, 600, 35070}, {600, 35070, 600, 35070}},    // empty range kept
        {{1400, 35070, 10, 35071}, {1400, 35070, 10, 35071}},    // across midnight, in order
        {{-50, 35070, 3000, 35070}, {-50, 35070, 3000, 35070}},  // odd times kept as given
    };
    for (const Case& k : cases) {
        ControlFixture f;
        EXPECT_EQ(f.control.AddAppointment(k.given.st, k.given.sd, k.given.et, k.given.ed), 1);
        ExpectRange(Stored(f.control, 1), k.stored);
        EXPECT_EQ(f.events.lines, Lines({"TimeSelect -1 -1 -1 -1"}));
    }
}

TEST(AppointmentStoreTest, LimitIs32000)
{
    ControlFixture f;
    for (int i = 1; i < 32000; ++i)
        f.control.AddAppointment(0, 1, 10, 1);
    f.events.lines.clear();
    EXPECT_EQ(f.control.AddKeyAppointment(0, 1, 10, 1, "last"), 32000);
    EXPECT_EQ(f.control.AddAppointment(0, 1, 10, 1), 0);
    EXPECT_EQ(f.control.Appointments(), 32000);
    EXPECT_EQ(f.events.lines,
              Lines({"TimeSelect -1 -1 -1 -1", "TimeSelect -1 -1 -1 -1", "Error 32002 0"}));
    EXPECT_EQ(f.control.KeyValue("last"), 32000);
}

TEST(AppointmentStoreTest, IndexErrorsCarryTheIndexMinusOne)
{
    ControlFixture f;
    for (int i = 0; i < 3; ++i)
        f.control.AddAppointment(0, 1, 10, 1);
    f.events.lines.clear();
    EXPECT_FALSE(f.control.DeleteAppointment(0));
    EXPECT_FALSE(f.control.DeleteAppointment(4));
    EXPECT_EQ(f.control.GetAppointTimeStart(-7), 0);
    EXPECT_EQ(f.control.GetAppointKeyID(9), "");
    f.control.SetAppointDateEnd(4, 99);
    EXPECT_EQ(f.events.lines, Lines({"Error 32003 -1", "Error 32003 3", "Error 32003 -8",
                                     "Error 32003 8", "Error 32003 3"}));
    EXPECT_EQ(f.control.Appointments(), 3);
}

TEST(AppointmentStoreTest, DeleteRenumbersAndClearsTheSelection)
{
    ControlFixture f;
    f.control.AddKeyAppointment(0, 1, 10, 1, "a");
    f.control.AddKeyAppointment(0, 2, 10, 2, "b");
    f.control.AddKeyAppointment(0, 3, 10, 3, "c");
    f.events.lines.clear();
    EXPECT_TRUE(f.control.DeleteAppointment(1));
    EXPECT_EQ(f.control.GetAppointKeyID(1), "b");
    EXPECT_EQ(f.control.KeyValue("c"), 2);
    EXPECT_TRUE(f.control.DeleteKeyAppointment("c"));
    EXPECT_FALSE(f.control.DeleteKeyAppointment("zzz"));
    EXPECT_EQ(f.control.Appointments(), 1);
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect -1 -1 -1 -1", "TimeSelect -1 -1 -1 -1"}));
}

TEST(AppointmentStoreTest, KeySearch)
{
    ControlFixture f;
    WeekViewControl& c = f.control;
    c.AddKeyAppointment(0, 1, 10, 1, "Dup");
    c.AddAppointment(0, 2, 10, 2);
    c.AddKeyAppointment(0, 3, 10, 3, "Dup");
    c.AddKeyAppointment(0, 4, 10, 4, "");
    EXPECT_EQ(c.KeyValue("Dup"), 1);
    EXPECT_EQ(c.KeyValue("dup"), 0);  // case matters
    EXPECT_EQ(c.KeyValue(""), 2);     // first without a key
    EXPECT_EQ(c.KeyValue("\xB0\xA1"), 0);
    EXPECT_TRUE(c.MoveKeyAppointment(900, 50, 600, 50, "Dup"));
    ExpectRange(Stored(c, 1), {600, 50, 900, 50});
    ExpectRange(Stored(c, 3), {0, 3, 10, 3});
    EXPECT_FALSE(c.MoveKeyAppointment(0, 0, 0, 0, "none"));
    EXPECT_TRUE(c.DeleteKeyAppointment(""));
    EXPECT_EQ(c.KeyValue(""), 3);  // the one added with an empty key
    c.SetAppointKeyID(1, "");
    EXPECT_EQ(c.KeyValue(""), 1);
    c.SetAppointKeyID(1, "\xB0\xA1\xB3\xAA");
    EXPECT_EQ(c.KeyValue("\xB0\xA1\xB3\xAA"), 1);
}

TEST(AppointmentStoreTest, LongKeysAreKeptWhole)
{
    ControlFixture f;
    const std::string key511(511, 'k');
    const std::string key512 = key511 + "x";
    const std::string key5000(5000, 'z');
    f.control.AddKeyAppointment(0, 1, 10, 1, key512);
    f.control.AddKeyAppointment(0, 1, 10, 1, key511);
    f.control.AddKeyAppointment(0, 1, 10, 1, key5000);
    EXPECT_EQ(f.control.GetAppointKeyID(1), key512);
    EXPECT_EQ(f.control.KeyValue(key511), 2);
    EXPECT_EQ(f.control.KeyValue(key512), 1);
    EXPECT_EQ(f.control.KeyValue(key5000), 3);
    EXPECT_EQ(f.control.KeyValue(key5000.substr(0, 511)), 0);
}

TEST(AppointmentStoreTest, FieldSettersKeepStartBeforeEnd)
{
    // Start (100, 600), end (100, 720) unless the case says otherwise.
    struct Case {
        const char* name;
        void (*apply)(WeekViewControl&);
        Range stored;
    } cases[] = {
        {"time start after end",
         [](WeekViewControl& c) { c.SetAppointTimeStart(1, 800); },
         {720, 100, 800, 100}},
        {"time start inside",
         [](WeekViewControl& c) { c.SetAppointTimeStart(1, 700); },
         {700, 100, 720, 100}},
        {"time start tie",
         [](WeekViewControl& c) { c.SetAppointTimeStart(1, 720); },
         {720, 100, 720, 100}},
        {"time end before start",
         [](WeekViewControl& c) { c.SetAppointTimeEnd(1, 500); },
         {500, 100, 600, 100}},
        {"date start after end",
         [](WeekViewControl& c) { c.SetAppointDateStart(1, 102); },
         {720, 100, 600, 102}},
        {"date start earlier",
         [](WeekViewControl& c) { c.SetAppointDateStart(1, 98); },
         {600, 98, 720, 100}},
        {"date end before start",
         [](WeekViewControl& c) { c.SetAppointDateEnd(1, 99); },
         {720, 99, 600, 100}},
        {"date end later",
         [](WeekViewControl& c) { c.SetAppointDateEnd(1, 105); },
         {600, 100, 720, 105}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ControlFixture f;
        f.control.AddAppointment(600, 100, 720, 100);
        const int modifiedBefore = f.site.modifications;
        k.apply(f.control);
        ExpectRange(Stored(f.control, 1), k.stored);
        EXPECT_EQ(f.site.modifications, modifiedBefore + 1);
    }
}

TEST(AppointmentStoreTest, ClearAppointmentsKeepsTheSelection)
{
    ControlFixture f;
    f.control.AddAppointment(0, 1, 10, 1);
    f.Paint();
    f.control.Press(200, 100, Rect{0, 0, 600, 500});
    f.events.lines.clear();
    f.control.ClearAppointments();
    EXPECT_EQ(f.control.Appointments(), 0);
    EXPECT_TRUE(f.control.CurrentSelection().anchor.IsSet());
    EXPECT_TRUE(f.events.lines.empty());
    EXPECT_EQ(f.control.FirstRow(), 0);
}

}  // namespace
}  // namespace weekview
