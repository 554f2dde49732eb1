// The alarm summary window TformSummary: the reminders one alarm scan found due, under the
// current date and time, confirmed with OK.
#pragma once

#include <windows.h>

#include <string>

#include "Component.h"

// Control identifiers, for the window's own use and for tests that read it.
enum SummaryControlId : int {
    kSummaryLabel1 = 101,
    kSummaryLabel2 = 102,
    kSummaryListView1 = 103,
    kSummaryButton1 = IDOK,
};

class TformSummary : public TOwnedComponent {
public:
    static constexpr const char* kClassName = "TformSummary";

    // Creates the window hidden, with the current date and time in Label2, as a component of
    // owner, whose window ownerWindow is told when OK is pressed (message 1125). The window
    // belongs to the application window, which carries the taskbar entry. Null when the
    // window cannot be created. The object lives until its window is destroyed, by itself or
    // with its owner.
    static TformSummary* Create(TComponentOwner& owner, HWND ownerWindow);
    ~TformSummary() override;

    const char* ClassName() const override { return kClassName; }

    // Appends one row to ListView1: the time text, then the reminder text.
    void AddRow(const std::string& timeText, const std::string& text);
    // Shows the window without waiting; it stays on top.
    void Show();
    // Destroys the window (and this object) without showing it.
    void Free();

    HWND Handle() const { return hwnd_; }

private:
    TformSummary(TComponentOwner& owner, HWND ownerWindow);
    TformSummary(const TformSummary&) = delete;
    TformSummary& operator=(const TformSummary&) = delete;

    static bool RegisterClassOnce();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EnterKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void ConfirmOnEnter(HWND control);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void CreateControls();
    HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle,
                    const RECT& bounds, int id);
    void Button1Click();
    void PaintImage1(HDC dc) const;

    TComponentOwner& owner_;
    HWND ownerWindow_;
    HWND hwnd_ = nullptr;
    bool created_ = false;  // CreateWindowExA has returned the window
    HFONT font_ = nullptr;
    HWND label2_ = nullptr;
    HWND listView1_ = nullptr;
    HWND button1_ = nullptr;
};
