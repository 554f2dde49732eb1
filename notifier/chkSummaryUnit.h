// The alarm summary window TformSummary: the reminders one alarm scan found due, under the
// current date and time, confirmed with OK.
#pragma once

#include <windows.h>

#include <string>

// Sent by a summary window to its owner when OK is pressed, before the window closes
// (handled by wmCheckFinishFlashTime); wParam and lParam are 0.
constexpr UINT WM_CHECKFINISHFLASHTIME = WM_USER + 101;

// Control identifiers, for the window's own use and for tests that read it.
enum SummaryControlId : int {
    kSummaryLabel1 = 101,
    kSummaryLabel2 = 102,
    kSummaryListView1 = 103,
    kSummaryButton1 = IDOK,
};

class TformSummary {
public:
    static constexpr const char* kClassName = "TformSummary";

    // Creates the window hidden, with the current date and time in Label2. owner is the main
    // window: it is told of OK and counts its summary windows; windowOwner (the owner by
    // default) is the window the system keeps it above. Null when the window cannot be
    // created. The object lives until its window is destroyed.
    static TformSummary* Create(HWND owner, HWND windowOwner = nullptr);

    // Appends one row to ListView1: the time text, then the reminder text.
    void AddRow(const std::string& timeText, const std::string& text);
    // Shows the window without waiting; it stays on top.
    void Show();
    // Destroys the window (and this object) without showing it.
    void Free();

    HWND Handle() const { return hwnd_; }

    // The summary windows that exist for the given main window.
    static int CountOwnedBy(HWND owner);

private:
    TformSummary() = default;
    ~TformSummary();
    TformSummary(const TformSummary&) = delete;
    TformSummary& operator=(const TformSummary&) = delete;

    static bool RegisterClassOnce();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EnterKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void CreateControls();
    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle,
                    const RECT& bounds, int id);
    void Button1Click();
    void PaintImage1(HDC dc) const;

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    HWND label2_ = nullptr;
    HWND listView1_ = nullptr;
    HWND button1_ = nullptr;
};
