// The receive buffer and send queue of a connection, with the spare-buffer swap.
#include "ByteQueue.h"

#include <algorithm>
#include <cstring>

void ByteQueue::Append(const char* bytes, size_t length)
{
    active.insert(active.end(), bytes, bytes + length);
}

void ByteQueue::Clear()
{
    active.clear();
    scanned = 0;
}

bool ByteQueue::HasLineFeed() const
{
    if (scanned < active.size() &&
        std::memchr(active.data() + scanned, '\n', active.size() - scanned) != nullptr)
        return true;
    scanned = active.size();
    return false;
}

std::string ByteQueue::TakeLine()
{
    auto lineFeed = std::find(active.begin(), active.end(), '\n');
    if (lineFeed == active.end())
        return std::string();
    size_t length = static_cast<size_t>(lineFeed - active.begin()) + 1;
    std::string line(active.data(), length);
    DropFront(length);
    return line;
}

void ByteQueue::DropFront(size_t count)
{
    count = std::min(count, active.size());
    spare.assign(active.begin() + static_cast<std::ptrdiff_t>(count), active.end());
    active.swap(spare);
    spare.clear();
    scanned = 0;
}
