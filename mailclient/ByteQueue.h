// A growable byte buffer with a spare: taking bytes from the front copies only the rest into
// the spare, and the two swap roles, so a long buffer is never shifted in place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ByteQueue {
public:
    void Append(const char* bytes, size_t length);
    void Clear();

    size_t Size() const { return active.size(); }
    bool Empty() const { return active.empty(); }
    const char* Data() const { return active.data(); }

    // True when the bytes hold a line feed (byte 10).
    bool HasLineFeed() const;

    // Every byte up to and including the first line feed (CR LF kept); empty when there is
    // no line feed yet.
    std::string TakeLine();

    // Drops the first count bytes (all of them when count is larger).
    void DropFront(size_t count);

private:
    std::vector<char> active;
    std::vector<char> spare;
    // Bytes already searched for a line feed without finding one.
    mutable size_t scanned = 0;
};
