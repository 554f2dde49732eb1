// The stored form of an icon list: a 32-bit entry count, then per entry a 32-bit byte length
// and that many bytes of the icon in icon-file layout (length 0 for an empty entry).
// Little-endian, as the saved settings of a component are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

using TIconBytes = std::vector<std::uint8_t>;

// A stored form that does not hold what it claims.
class EIconListStream : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::uint8_t> WriteIconListStream(const std::vector<TIconBytes>& entries);

// Reads a whole stored form; raises EIconListStream when the count or a length runs past the
// data or bytes are left over. Nothing is returned in part.
std::vector<TIconBytes> ReadIconListStream(const std::uint8_t* data, std::size_t size);
