// String values of the notifier's settings key below HKEY_CURRENT_USER.
#pragma once

#include <string>

// Reads a string value; a missing key or value, or an empty value, gives the empty text. A
// value of another type than a string raises Exception "Invalid data type for '<name>'". The
// text ends at the first zero byte. The key is never created by reading.
std::string RegReadString(const std::string& key, const std::string& name);

// Writes a string value (its terminating zero included), creating the key when missing; a
// refused write raises Exception "Failed to set data for '<name>'".
void RegWriteString(const std::string& key, const std::string& name, const std::string& value);
