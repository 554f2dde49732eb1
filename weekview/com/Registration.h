// Registry entries of the module's classes: the control and its three pages.
#pragma once

#include <windows.h>

namespace septena {

// Writes every class of the module; false at the first failure.
bool RegisterClasses();
// Removes every key the registration wrote; false when one could not be removed.
bool UnregisterClasses();

}  // namespace septena
