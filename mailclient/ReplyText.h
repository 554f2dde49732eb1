// Picking apart server reply lines: fields, the POP3 positive-reply rule, STAT counts, reply codes.
#pragma once

#include <cstdint>
#include <string>

// The n-th field (1-based) of text, fields delimited by single separator characters; a field
// that does not exist is empty.
std::string NthField(const std::string& text, char separator, int n);

// A reply is positive when its first space-separated field contains "+OK" anywhere. The line
// is taken whole, CR LF included.
bool IsPositiveReply(const std::string& line);

// Reads text as a plain decimal integer (optional sign, digits only, fits 32 bits).
bool ParsePlainInteger(const std::string& text, int32_t& value);

// The message count of a STAT reply: its second field as a plain integer, otherwise 0.
int32_t StatMessageCount(const std::string& reply);

// The reply code of a line: the run of at most 10 decimal digits at its start, 0 when there is
// none. Raises Exception when the run does not fit a 16-bit signed integer.
int16_t LeadingReplyCode(const std::string& line);
