// SEPTENA.OCX driven by an automation client nobody here wrote: the prefix's own
// cscript runs a VBScript that creates the control by ProgID.
#include <gtest/gtest.h>

#include <fstream>

#include "ChildProcess.h"

namespace {

const char kScript[] = R"(Set c = CreateObject("SEPTENA.SeptenaCtrl.1")
WScript.Echo "Date " & c.Date
WScript.Echo "Find " & c.FindDay(46361) & " " & c.FindMonth(46361) & " " & c.FindYear(46361)
WScript.Echo "Add " & c.AddAppointment(540, 35063, 600, 35063)
WScript.Echo "AddKey " & c.AddKeyAppointment(780, 35064, 930, 35064, "review")
WScript.Echo "KeyValue " & c.KeyValue("review") & " " & c.KeyValue("missing")
WScript.Echo "AppointTimeStart " & c.AppointTimeStart(2)
c.AppointTimeStart(2) = 800
WScript.Echo "Moved " & c.AppointTimeStart(2) & " " & c.AppointKeyID(2)
c.Day = 40
c.Month = 13
c.Year = 500
WScript.Echo "Clamps " & c.Day & " " & c.Month & " " & c.Year
c.Day = 0
c.Month = 0
WScript.Echo "Low " & c.Day & " " & c.Month
c.TimeStart = 1500
c.TimeEnd = -60
WScript.Echo "TimeStart " & c.TimeStart & " " & c.TimeEnd
c.TimeUnits = 65536
WScript.Echo "TimeUnits " & c.TimeUnits
WScript.Echo "Delete " & c.DeleteKeyAppointment("review") & " " & c.Appointments
c.DayHeader = "Sun;Mon"
WScript.Echo "DayHeader " & c.DayHeader
)";

const char kExpected[] =
    "Date 35063\r\n"
    "Find 7 12 2026\r\n"
    "Add 1\r\n"
    "AddKey 2\r\n"
    "KeyValue 2 0\r\n"
    "AppointTimeStart 780\r\n"
    "Moved 800 review\r\n"
    "Clamps 31 12 1000\r\n"
    "Low 1 1\r\n"
    "TimeStart 60 -60\r\n"
    "TimeUnits 3\r\n"
    "Delete True 1\r\n"
    "DayHeader Sun;Mon\r\n";

TEST(SeptenaScriptTest, CscriptDrivesTheControlByProgId)
{
    const std::string ocx = "\"" + testsupport::BinDir() + "SEPTENA.OCX\"";
    ASSERT_EQ(testsupport::RunCaptured("regsvr32.exe /s " + ocx, "regsvr32").exitCode, 0u);
    const std::string script = testsupport::TempPath("septena_script_test.vbs");
    {
        std::ofstream out(script, std::ios::binary);
        out << kScript;
    }
    const auto run = testsupport::RunCaptured("cscript.exe //nologo \"" + script + "\"", "cscript");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, kExpected) << run.err;
    DeleteFileA(script.c_str());
    EXPECT_EQ(testsupport::RunCaptured("regsvr32.exe /s /u " + ocx, "regsvr32").exitCode, 0u);
}

}  // namespace
