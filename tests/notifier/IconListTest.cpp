// The icon list: its change reports, its batches and its stored form.
#include "IconList.h"
#include "ImageList.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

namespace {

struct CountedList {
    TIconList list;
    int changes = 0;
    CountedList()
    {
        list.OnChange = [this](TIconList&) { ++changes; };
    }
};

TEST(IconListTest, EveryOperationReportsOneChangeBatchesReportOne)
{
    TIcon red, green;
    Paint(red, 0xFF0000);
    Paint(green, 0x00FF00);
    CountedList counted;
    TIconList& list = counted.list;
    struct Step {
        const char* what;
        std::function<void()> run;
        int changes;
    } steps[] = {
        {"Add", [&] { EXPECT_EQ(list.Add(red), 0); }, 1},
        {"Add", [&] { EXPECT_EQ(list.Add(green), 1); }, 1},
        {"Insert", [&] { list.Insert(0, green); }, 1},
        {"Exchange", [&] { list.Exchange(0, 2); }, 1},
        {"Move", [&] { list.Move(0, 2); }, 1},
        {"Delete", [&] { list.Delete(2); }, 1},
        {"set at Count appends", [&] { list.SetItems(list.Count(), red); }, 1},
        {"a change of an entry's own picture", [&] { Paint(*list.Items(0), 0x0000FF); }, 1},
        {"IndexOf", [&] { EXPECT_EQ(list.IndexOf(list.Items(1)), 1); }, 0},
        {"Clear of three", [&] { list.Clear(); }, 1},
        {"batch of two adds",
         [&] {
             list.BeginUpdate();
             list.Add(red);
             list.Add(green);
             list.EndUpdate();
         },
         1},
        {"Assign from an icon", [&] { list.Assign(&red); }, 1},
        {"Assign from nothing", [&] { list.Assign(static_cast<const TIconList*>(nullptr)); }, 1},
    };
    for (const Step& step : steps) {
        counted.changes = 0;
        step.run();
        EXPECT_EQ(counted.changes, step.changes) << step.what;
    }
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.Delete(0), std::out_of_range);
    EXPECT_THROW(list.SetItems(1, red), std::out_of_range);
}

TEST(IconListTest, CopiesArePicturesOfTheirOwn)
{
    TIcon red;
    Paint(red, 0xFF0000);
    TIconList list;
    list.Add(red);
    EXPECT_NE(list.Items(0)->Handle(), red.Handle());
    EXPECT_EQ(CentreColour(*list.Items(0)), 0xFF0000u);
    Paint(red, 0x00FF00);
    EXPECT_EQ(CentreColour(*list.Items(0)), 0xFF0000u);
    TIconList copy;
    copy.Assign(&list);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(CentreColour(*copy.Items(0)), 0xFF0000u);
}

TEST(IconListTest, StoredFormRoundTripsPicturesAndEmptyEntries)
{
    TIcon red, blue;
    Paint(red, 0xFF0000);
    Paint(blue, 0x0000FF);
    TIconList list;
    list.Add(red);
    list.SetItems(1, TIcon());  // an empty entry
    list.Add(blue);
    const std::vector<std::uint8_t> stored = list.WriteData();
    ASSERT_GT(stored.size(), 12u);
    EXPECT_EQ(stored[0], 3);

    CountedList read;
    read.list.Add(blue);
    read.changes = 0;
    read.list.ReadData(stored.data(), stored.size());
    EXPECT_EQ(read.changes, 1);
    ASSERT_EQ(read.list.Count(), 3);
    EXPECT_EQ(CentreColour(*read.list.Items(0)), 0xFF0000u);
    EXPECT_TRUE(read.list.Items(1) == nullptr || read.list.Items(1)->Empty());
    EXPECT_EQ(CentreColour(*read.list.Items(2)), 0x0000FFu);
    EXPECT_EQ(read.list.WriteData(), stored);
}

TEST(IconListTest, BadStoredFormLeavesTheListAsItWas)
{
    TIcon red;
    Paint(red, 0xFF0000);
    TIconList source;
    source.Add(red);
    std::vector<std::uint8_t> stored = source.WriteData();

    CountedList target;
    target.list.Add(red);
    target.list.Add(red);
    target.changes = 0;
    std::vector<std::uint8_t> cut(stored.begin(), stored.end() - 5);
    EXPECT_THROW(target.list.ReadData(cut.data(), cut.size()), EIconListStream);
    std::vector<std::uint8_t> notAnIcon = {1, 0, 0, 0, 4, 0, 0, 0, 'j', 'u', 'n', 'k'};
    EXPECT_THROW(target.list.ReadData(notAnIcon.data(), notAnIcon.size()), EIconListStream);
    EXPECT_EQ(target.list.Count(), 2);
    EXPECT_EQ(target.changes, 0);
}

}  // namespace

namespace {

TEST(ImageListTest, PicturesKeepTheirNumbersAlsoAfterAMissingOne)
{
    TImageList images;
    TIcon picture;
    Paint(picture, 0xFF0000);
    EXPECT_EQ(images.AddIcon(picture), 0);
    EXPECT_EQ(images.AddIcon(TIcon()), 1);  // a missing picture still takes its number
    Paint(picture, 0x0000FF);
    EXPECT_EQ(images.AddIcon(picture), 2);
    ASSERT_EQ(images.Count(), 3);

    TIcon out;
    images.GetIcon(2, out);
    EXPECT_EQ(CentreColour(out), 0x0000FFu);
    images.GetIcon(0, out);
    EXPECT_EQ(CentreColour(out), 0xFF0000u);
    images.GetIcon(3, out);
    EXPECT_TRUE(out.Empty());
    images.GetIcon(1, out);  // a missing picture is no picture, not a blank one
    EXPECT_TRUE(out.Empty());
    images.Clear();
    EXPECT_EQ(images.AddIcon(picture), 0);
    images.GetIcon(0, out);
    EXPECT_FALSE(out.Empty());
}

}  // namespace
