// The routines the host calls by name, and the function table that names them.
#pragma once

#include "HostApi.h"

namespace dbf {

FunctionTable* LibraryFunctionTable();

// Serves one request of the host; never lets an exception out.
void ServeRequest(RequestBlock* request);

}  // namespace dbf
