// The stored form of an icon list, written and read byte by byte.
#include "IconListStream.h"

#include <string>

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::size_t Left() const { return size - at; }

    std::uint32_t U32(const char* what)
    {
        Need(4, what);
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | data[at + i];
        }
        at += 4;
        return value;
    }

    TIconBytes Bytes(std::size_t count)
    {
        Need(count, "icon");
        TIconBytes bytes(data + at, data + at + count);
        at += count;
        return bytes;
    }

private:
    void Need(std::size_t count, const char* what) const
    {
        if (Left() < count) {
            throw EIconListStream(std::string("Icon list data ends inside the ") + what +
                                  " at byte " + std::to_string(at));
        }
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

}  // namespace

std::vector<std::uint8_t> WriteIconListStream(const std::vector<TIconBytes>& entries)
{
    std::vector<std::uint8_t> out;
    PutU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const TIconBytes& entry : entries) {
        PutU32(out, static_cast<std::uint32_t>(entry.size()));
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}

std::vector<TIconBytes> ReadIconListStream(const std::uint8_t* data, std::size_t size)
{
    Reader reader(data, size);
    const std::uint32_t count = reader.U32("entry count");
    // Every entry takes at least its 4-byte length: a larger count cannot be true, and
    // checking it first keeps a damaged count from reserving memory for nothing.
    if (count > reader.Left() / 4) {
        throw EIconListStream("Icon list data claims " + std::to_string(count) + " entries in " +
                              std::to_string(size) + " bytes");
    }
    std::vector<TIconBytes> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t length = reader.U32("entry length");
        entries.push_back(reader.Bytes(length));
    }
    if (reader.Left() != 0) {
        throw EIconListStream("Icon list data has " + std::to_string(reader.Left()) +
                              " bytes after its last entry");
    }
    return entries;
}
