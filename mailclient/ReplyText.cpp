// Reply line parsing shared by the socket connection and the POP3 client.
#include "ReplyText.h"

#include "Exceptions.h"

#include <cctype>
#include <cstdint>
#include <limits>

std::string NthField(const std::string& text, char separator, int n)
{
    if (n < 1)
        return std::string();
    size_t start = 0;
    for (int field = 1; field < n; ++field) {
        size_t next = text.find(separator, start);
        if (next == std::string::npos)
            return std::string();
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool IsPositiveReply(const std::string& line)
{
    return NthField(line, ' ', 1).find("+OK") != std::string::npos;
}

bool ParsePlainInteger(const std::string& text, int32_t& value)
{
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    if (pos == text.size())
        return false;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        unsigned char c = static_cast<unsigned char>(text[pos]);
        if (!std::isdigit(c))
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            return false;
    }
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

int32_t StatMessageCount(const std::string& reply)
{
    int32_t count = 0;
    return ParsePlainInteger(NthField(reply, ' ', 2), count) ? count : 0;
}

int16_t LeadingReplyCode(const std::string& line)
{
    constexpr size_t kMaxDigits = 10;
    size_t digits = 0;
    int64_t value = 0;
    while (digits < line.size() && digits < kMaxDigits &&
           std::isdigit(static_cast<unsigned char>(line[digits]))) {
        value = value * 10 + (line[digits] - '0');
        ++digits;
    }
    if (value > std::numeric_limits<int16_t>::max())
        throw Exception("'" + line.substr(0, digits) + "' is not a valid reply code");
    return static_cast<int16_t>(value);
}
