// weekview-demo's frame window: hosts the week view, runs the steps, prints events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "DemoOptions.h"
#include "WeekViewWindow.h"

namespace weekview_demo {

// Prints each event of the week view as one line when asked to.
class PrintingEvents : public weekview::WeekViewEvents {
public:
    explicit PrintingEvents(bool enabled) : enabled_(enabled) {}
    void TimeSelect(int32_t ds, int16_t ts, int32_t de, int16_t te) override;
    void RightClick(int16_t st, int32_t sd, int16_t et, int32_t ed, int16_t index,
                    const std::string& key) override;
    void Error(int16_t code, int16_t index) override;
    void MouseDown(int16_t button, int16_t shift, int x, int y) override;
    void MouseMove(int16_t button, int16_t shift, int x, int y) override;
    void MouseUp(int16_t button, int16_t shift, int x, int y) override;
    void Click() override;
    void DblClick() override;

private:
    void Print(const char* format, ...);
    bool enabled_;
};

// A key as printed on an event line: control characters and backslashes as \xNN.
std::string EscapeKey(const std::string& key);

class DemoHost {
public:
    explicit DemoHost(const DemoOptions& options);
    ~DemoHost();
    DemoHost(const DemoHost&) = delete;
    DemoHost& operator=(const DemoHost&) = delete;

    bool Create(std::string& error);
    bool RunSteps(std::string& error);
    bool WriteSnapshot(const std::string& path, std::string& error);
    int RunInteractive();

private:
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Apply(const Step& step, std::string& error);
    bool SetFontProperty(const std::string& name, const std::string& value, std::string& error);
    void SendMouse(UINT message, WPARAM keys, int x, int y);
    void ReleaseButton();
    void Pump();
    void FitView();
    bool CheckSize(std::string& error);
    bool PaintInto(HDC memory, HBITMAP bitmap);

    const DemoOptions& options_;
    PrintingEvents events_;
    weekview::WeekViewWindow view_;
    HWND frame_ = nullptr;
    HFONT fonts_[2] = {nullptr, nullptr};
    bool buttonDown_ = false;
    int lastX_ = 0, lastY_ = 0;
};

}  // namespace weekview_demo
