// Holds one of the control's font objects (`Font`, `HourFont`) and hears when the host
// changes the object itself (its size, its name), so the control repaints with the
// font's new handle instead of one the font object has already deleted.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstddef>

// The font description given to OleCreateFontIndirect, pinned to its 32-bit layout.
#ifndef _WIN64
static_assert(sizeof(FONTDESC) == 32, "FONTDESC");
static_assert(offsetof(FONTDESC, cySize) == 8, "FONTDESC size");
#endif

namespace septena {

class FontChangeListener {
public:
    virtual ~FontChangeListener() = default;
    // `dispid` names the property whose font object changed.
    virtual void FontChanged(DISPID dispid) = 0;
};

class FontHolder {
public:
    FontHolder(FontChangeListener& listener, DISPID dispid) : listener_(listener), dispid_(dispid)
    {
    }
    ~FontHolder();
    FontHolder(const FontHolder&) = delete;
    FontHolder& operator=(const FontHolder&) = delete;

    IFont* Get() const { return font_; }
    // Takes over one reference of `font` (null empties the holder).
    void Reset(IFont* font);

private:
    class Watcher;
    void Disconnect();

    FontChangeListener& listener_;
    DISPID dispid_;
    IFont* font_ = nullptr;
    Watcher* watcher_ = nullptr;
    IConnectionPoint* point_ = nullptr;
    DWORD cookie_ = 0;
};

}  // namespace septena
