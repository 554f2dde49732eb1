// Starting and stopping the socket library, counted over the live connection objects.
#pragma once

#include <string>
#include <vector>

// Adds one live user; the first one starts the socket library (version 1.1) and receives the
// six lines describing it in info. Later users get no lines.
void AcquireWinsock(std::vector<std::string>& info);

// Takes one live user away; the last one cleans the socket library up.
void ReleaseWinsock();

// The number of live users in this process.
int WinsockUsers();
