// The control's entries for its host: loading stored values, the closing steps of a
// property exchange, the reset, 32-bit enumerations, and handlers that change the
// appointment list from inside an event.
#include <gtest/gtest.h>

#include "FakeHost.h"

namespace weekview {
namespace {

using Lines = std::vector<std::string>;

TEST(ExchangeTest, LoadStoresValuesAsReadAndRunsTheClosingSteps)
{
    ControlFixture f;
    f.control.SetTimeStart(480);
    f.Paint();
    f.control.Scroll(ScrollRequest::LineDown, 0, 0);
    ASSERT_GT(f.control.FirstRow(), 0);
    f.events.lines.clear();

    DisplayProperties stored;
    stored.Day = 31;
    stored.Month = 2;
    stored.Year = 2026;
    stored.TimeStart = 1500;  // a setter would keep 60
    stored.DayColumns = 40;   // a setter would clamp to 31
    stored.BorderType = BorderRaised;
    f.control.LoadProperties(stored);

    const DisplayProperties& p = f.control.Properties();
    EXPECT_EQ(p.Day, 31);
    EXPECT_EQ(p.Month, 2);
    EXPECT_EQ(p.TimeStart, 1500);
    EXPECT_EQ(p.DayColumns, 40);
    EXPECT_EQ(f.control.GetDate(), DateSerial(31, 2, 2026));
    EXPECT_EQ(f.control.FirstRow(), 0);
    EXPECT_EQ(f.control.VisibleRows(), 0);
    EXPECT_EQ(f.control.BorderInsetsNow().top, BorderInsets(BorderRaised).top);
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect -1 -1 -1 -1"}));
}

TEST(ExchangeTest, ResetRestoresEveryDefault)
{
    ControlFixture f;
    f.control.SetDay(20);
    f.control.SetDayHeader("x");
    f.control.SetBorderType(BorderLowered);
    f.control.ResetProperties();
    const DisplayProperties& p = f.control.Properties();
    const DisplayProperties d;
    EXPECT_EQ(p.Day, d.Day);
    EXPECT_EQ(p.DayHeader, d.DayHeader);
    EXPECT_EQ(p.BorderType, d.BorderType);
    EXPECT_EQ(f.control.GetDate(), 35063);
}

TEST(ExchangeTest, EnumerationsOutsideTheirRangeAreIgnoredBeforeNarrowing)
{
    using Setter = void (WeekViewControl::*)(int32_t);
    struct Case {
        Setter set;
        int16_t DisplayProperties::*member;
    };
    const Case cases[] = {
        {&WeekViewControl::SetTimeUnits, &DisplayProperties::TimeUnits},
        {&WeekViewControl::SetTimeType, &DisplayProperties::TimeType},
        {&WeekViewControl::SetBorderType, &DisplayProperties::BorderType},
        {&WeekViewControl::SetTimeBorder, &DisplayProperties::TimeBorder},
        {&WeekViewControl::SetHeaderBorder, &DisplayProperties::HeaderBorder},
    };
    for (const Case& c : cases) {
        ControlFixture f;
        const int16_t before = f.control.Properties().*c.member;
        for (int32_t bad : {65536, 65537, -65536, 65536 + 3, INT32_MIN}) {
            (f.control.*c.set)(bad);
            EXPECT_EQ(f.control.Properties().*c.member, before) << bad;
        }
        (f.control.*c.set)(1);
        EXPECT_EQ(f.control.Properties().*c.member, 1);
    }
}

// Clears the list from inside every TimeSelect and RightClick it receives.
struct ClearingEvents : RecordingEvents {
    void TimeSelect(int32_t ds, int16_t ts, int32_t de, int16_t te) override
    {
        RecordingEvents::TimeSelect(ds, ts, de, te);
        if (control != nullptr)
            control->ClearAppointments();
    }
    void RightClick(int16_t st, int32_t sd, int16_t et, int32_t ed, int16_t index,
                    const std::string& key) override
    {
        if (control != nullptr)
            control->ClearAppointments();
        RecordingEvents::RightClick(st, sd, et, ed, index, key);  // the key read afterwards
    }
    WeekViewControl* control = nullptr;
};

struct ClearingFixture {
    ClearingFixture() : control(site, events)
    {
        site.control = &control;
        control.SetTimeStart(480);
        for (int i = 0; i < 3; ++i)
            control.AddKeyAppointment(540, 35063, 600, 35063, "key" + std::to_string(i + 1));
        control.BeginFullPaint(Rect{0, 0, 600, 500}, 16);
        control.LayOutBars();
        events.lines.clear();
        events.control = &control;
    }
    FakeSite site;
    ClearingEvents events;
    WeekViewControl control;
};

TEST(ExchangeTest, HandlersThatClearTheListDuringDeletesAndRightClicks)
{
    {
        ClearingFixture f;
        EXPECT_TRUE(f.control.DeleteAppointment(3));
        EXPECT_EQ(f.control.Appointments(), 0);
    }
    {
        ClearingFixture f;
        EXPECT_TRUE(f.control.DeleteKeyAppointment("key2"));
        EXPECT_EQ(f.control.Appointments(), 0);
    }
    {
        ClearingFixture f;
        f.control.RightClickAt(75 + 30, 31 + 2 * 19 + 8, Rect{0, 0, 600, 500});
        EXPECT_EQ(f.events.lines, Lines({"RightClick 540 35063 600 35063 3 key3"}));
        EXPECT_EQ(f.control.Appointments(), 0);
    }
}

}  // namespace
}  // namespace weekview
