// Display property setters by automation name: defaults, clamps, ignored values.
#include <gtest/gtest.h>

#include "FakeHost.h"
#include "PropertyByName.h"

namespace weekview {
namespace {

TEST(PropertyTest, Defaults)
{
    const DisplayProperties p;
    EXPECT_EQ(p.TimeUnits, Minutes_30);
    EXPECT_EQ(p.TimeBorder, BorderRaised);
    EXPECT_EQ(p.HeaderBorder, BorderRaised);
    EXPECT_EQ(p.PrimeTimeStart, 480);
    EXPECT_EQ(p.PrimeTimeEnd, 1020);
    EXPECT_EQ(p.TimeTextWidth, 75);
    EXPECT_EQ(p.DayColumns, 7);
    EXPECT_EQ(p.HeaderHeight, 30);
    EXPECT_EQ(p.NonPrimeColor, 16777088u);
    EXPECT_EQ(p.SelectedColor, 8388608u);
    EXPECT_EQ(p.AppBarColor, 16711680u);
    EXPECT_EQ(p.DayHeader, "S,M,T,W,T,F,S");
    EXPECT_TRUE(p.IncludeAmPm);
    EXPECT_FALSE(p.MilitaryTime);
}

TEST(PropertyTest, SetterRules)
{
    struct Case {
        const char* name;
        const char* value;
        int16_t DisplayProperties::*member;
        int16_t stored;
    } cases[] = {
        {"DayColumns", "40", &DisplayProperties::DayColumns, 31},
        {"DayColumns", "31", &DisplayProperties::DayColumns, 31},
        {"DayColumns", "0", &DisplayProperties::DayColumns, 1},
        {"TimeTextWidth", "5", &DisplayProperties::TimeTextWidth, 10},
        {"HeaderHeight", "-3", &DisplayProperties::HeaderHeight, 10},
        {"TimeStart", "1500", &DisplayProperties::TimeStart, 60},
        {"TimeStart", "-60", &DisplayProperties::TimeStart, -60},
        {"TimeStart", "-1500", &DisplayProperties::TimeStart, -60},
        {"TimeEnd", "-1440", &DisplayProperties::TimeEnd, 0},
        {"TimeEnd", "2900", &DisplayProperties::TimeEnd, 20},
        {"TimeEnd", "1440", &DisplayProperties::TimeEnd, 0},
        {"TimeUnits", "7", &DisplayProperties::TimeUnits, Minutes_30},
        {"TimeUnits", "-1", &DisplayProperties::TimeUnits, Minutes_30},
        {"TimeUnits", "0", &DisplayProperties::TimeUnits, Minutes_5},
        {"TimeType", "2", &DisplayProperties::TimeType, TimeFull},
        {"BorderType", "4", &DisplayProperties::BorderType, BorderRegular},
        {"TimeBorder", "3", &DisplayProperties::TimeBorder, BorderLowered},
        {"HeaderBorder", "-1", &DisplayProperties::HeaderBorder, BorderRaised},
        {"HeightOffset", "-50", &DisplayProperties::HeightOffset, -50},
        {"PrimeTimeStart", "-5", &DisplayProperties::PrimeTimeStart, -5},
        {"HeaderYOffset", "9", &DisplayProperties::HeaderYOffset, 9},
    };
    for (const Case& k : cases) {
        ControlFixture f;
        const int modified = f.site.modifications;
        std::string error;
        ASSERT_TRUE(SetPropertyByName(f.control, k.name, k.value, error)) << error;
        EXPECT_EQ(f.control.Properties().*k.member, k.stored) << k.name << "=" << k.value;
        const bool ignored = f.site.modifications == modified;
        const bool unchanged = k.stored == DisplayProperties().*k.member;
        EXPECT_TRUE(!ignored || unchanged) << k.name << "=" << k.value;
    }
}

TEST(PropertyTest, BorderTypeSetsTheInsets)
{
    ControlFixture f;
    f.control.SetBorderType(BorderNone);
    EXPECT_EQ(f.control.BorderInsetsNow().left, 0);
    f.control.SetBorderType(BorderLowered);
    EXPECT_EQ(f.control.BorderInsetsNow().bottom, 1);
}

TEST(PropertyTest, NamesAndValuesThatAreRefused)
{
    struct Case {
        const char* name;
        const char* value;
    } cases[] = {
        {"NoSuch", "1"},        {"TimeStart", ""},           {"TimeStart", "12x"},
        {"TimeStart", "40000"}, {"Date", "3000000000"},      {"WeekendPrime", "yes"},
        {"LineColor", "-1"},    {"LineColor", "4294967296"},
    };
    for (const Case& k : cases) {
        ControlFixture f;
        std::string error;
        EXPECT_FALSE(SetPropertyByName(f.control, k.name, k.value, error)) << k.name;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(f.site.modifications, 0) << k.name;
    }
}

}  // namespace
}  // namespace weekview
