// The receive buffer: lines come back whole and in order however the bytes were split.
#include "ByteQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::vector<std::string>& chunks)
{
    ByteQueue queue;
    std::vector<std::string> lines;
    for (const std::string& chunk : chunks) {
        queue.Append(chunk.data(), chunk.size());
        while (queue.HasLineFeed())
            lines.push_back(queue.TakeLine());
    }
    lines.push_back(std::string(queue.Data(), queue.Size()));  // the unfinished rest
    return lines;
}

TEST(ByteQueueTest, LinesKeepTheirEndingsAndOrderForEveryChunking)
{
    const std::string stream = "+OK ready\r\n+OK\n\n-ERR no\r\n+OK 3 4200\r\npartial";
    const std::vector<std::string> expected = {"+OK ready\r\n", "+OK\n",          "\n",
                                               "-ERR no\r\n",   "+OK 3 4200\r\n", "partial"};
    EXPECT_EQ(Lines({stream}), expected);
    for (size_t cut = 0; cut <= stream.size(); ++cut)
        EXPECT_EQ(Lines({stream.substr(0, cut), stream.substr(cut)}), expected) << "cut " << cut;
    std::vector<std::string> bytes;
    for (char c : stream)
        bytes.emplace_back(1, c);
    EXPECT_EQ(Lines(bytes), expected);
}

TEST(ByteQueueTest, TakeLineWithoutLineFeedTakesNothing)
{
    ByteQueue queue;
    queue.Append("abc\r", 4);
    EXPECT_FALSE(queue.HasLineFeed());
    EXPECT_EQ(queue.TakeLine(), "");
    EXPECT_EQ(queue.Size(), 4u);
    queue.Append("\n", 1);
    EXPECT_TRUE(queue.HasLineFeed());
    EXPECT_EQ(queue.TakeLine(), "abc\r\n");
    EXPECT_TRUE(queue.Empty());
}

TEST(ByteQueueTest, DropFrontKeepsTheRest)
{
    ByteQueue queue;
    std::string data(40000, 'x');
    data[16383] = 'y';
    queue.Append(data.data(), data.size());
    queue.DropFront(16383);
    ASSERT_EQ(queue.Size(), 40000u - 16383u);
    EXPECT_EQ(queue.Data()[0], 'y');
    queue.DropFront(100000);
    EXPECT_TRUE(queue.Empty());
    queue.Append("\n", 1);
    EXPECT_TRUE(queue.HasLineFeed());
}

TEST(ByteQueueTest, ClearForgetsSearchedBytes)
{
    ByteQueue queue;
    queue.Append("abcdef", 6);
    EXPECT_FALSE(queue.HasLineFeed());
    queue.Clear();
    queue.Append("\n", 1);
    EXPECT_TRUE(queue.HasLineFeed());
}

}  // namespace
