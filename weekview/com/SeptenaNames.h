// The control's name, ProgID and version texts, for the module's code and for the
// resource files of the module and its pages (plain macros, so windres reads them too).
#pragma once

#define SEPTENA_CONTROL_NAME "Septena Control"
#define SEPTENA_PROGID "SEPTENA.SeptenaCtrl.1"
#define SEPTENA_MODULE_NAME "Septena OLE Control Module"
#define SEPTENA_VERSION_NUMBERS 1, 0, 0, 1
#define SEPTENA_VERSION_TEXT "1, 0, 0, 1"
#define SEPTENA_ABOUT_VERSION "Version 1.0"
