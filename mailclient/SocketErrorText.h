// Texts for the socket library's error codes, as shown in socket failure messages.
#pragma once

#include <string>

// Empty for 0; "<code>:<text>" for a known code (10061:Connection refused); otherwise
// "Unknown Error No. " followed by the code.
std::string SocketErrorText(int code);
