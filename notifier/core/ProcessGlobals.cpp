// The process-wide values declared in Options.h: the settings in force, the program's folder
// and the short date format.
#include "Options.h"

TJOption CurOption;
std::string ExeDir;
std::string ShortDateFormat;
