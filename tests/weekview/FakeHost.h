// A recording site and event listener for driving the week view control without a window.
#pragma once

#include <string>
#include <vector>

#include "WeekViewControl.h"

namespace weekview {

class RecordingEvents : public WeekViewEvents {
public:
    void TimeSelect(int32_t ds, int16_t ts, int32_t de, int16_t te) override
    {
        lines.push_back("TimeSelect " + std::to_string(ds) + " " + std::to_string(ts) + " " +
                        std::to_string(de) + " " + std::to_string(te));
    }
    void RightClick(int16_t st, int32_t sd, int16_t et, int32_t ed, int16_t index,
                    const std::string& key) override
    {
        lines.push_back("RightClick " + std::to_string(st) + " " + std::to_string(sd) + " " +
                        std::to_string(et) + " " + std::to_string(ed) + " " +
                        std::to_string(index) + " " + key);
    }
    void Error(int16_t code, int16_t index) override
    {
        lines.push_back("Error " + std::to_string(code) + " " + std::to_string(index));
    }
    void MouseDown(int16_t button, int16_t, int, int) override
    {
        stock.push_back("MouseDown " + std::to_string(button));
    }
    void MouseUp(int16_t button, int16_t, int, int) override
    {
        stock.push_back("MouseUp " + std::to_string(button));
    }
    void Click() override { stock.push_back("Click"); }
    std::vector<std::string> lines;
    std::vector<std::string> stock;  // stock mouse events, apart from the custom ones
};

class FakeSite : public ControlSite {
public:
    void InvalidateControl() override { ++invalidations; }
    void SetModified() override { ++modifications; }
    bool IsRunMode() const override { return runMode; }
    void SetScrollRange(int maximum) override { scrollMaximum = maximum; }
    void SetScrollThumb(int position) override { thumb = position; }
    void RepaintNow(const Rect& region) override
    {
        lastRegion = region;
        ++repaints;
        // The window paints the selection at once; so does this site.
        if (control != nullptr && control->TakeSelectionRepaint())
            control->SelectionRepainted();
    }
    WeekViewControl* control = nullptr;
    bool runMode = true;
    int invalidations = 0;
    int modifications = 0;
    int scrollMaximum = -1;
    int thumb = -1;
    int repaints = 0;
    Rect lastRegion;
};

// A control with its site and listener, laid out as a 7-column view of 16-pixel text.
struct ControlFixture {
    ControlFixture() : control(site, events) { site.control = &control; }
    void Paint(int width = 600, int height = 500, int16_t textHeight = 16)
    {
        control.BeginFullPaint(Rect{0, 0, width, height}, textHeight);
        control.LayOutBars();
    }
    FakeSite site;
    RecordingEvents events;
    WeekViewControl control;
};

}  // namespace weekview
