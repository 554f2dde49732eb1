// The property pages in the system's property frame, opened on the real control from
// SEPTENA.OCX: values typed into the pages' boxes and applied reach the control's
// properties through its own rules; a refused value stops the apply.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "WindowSearch.h"

#include <commctrl.h>
#include "PropPageResource.h"
#include "PropertyPages.h"

using namespace page_tests;

namespace {

constexpr DISPID kTimeStart = 4, kDayHeader = 21, kDay = 22, kMonth = 23;
constexpr UINT kSetCurrentPage = WM_USER + 101;  // PSM_SETCURSEL
constexpr DWORD kScriptLimitMs = 20000;

const CLSID kPages[] = {CLSID_SeptenaGeneralPage, CLSID_SeptenaMorePage, CLSID_SeptenaAboutPage};

// Steps run one at a time from a timer inside the frame's modal loop; a step that
// answers false is tried again on the next tick.
class FrameScript {
public:
    static FrameScript* current;
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    bool timedOut = false;
    size_t stoppedAt = 0;
    DWORD started = GetTickCount();

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        // A step may open a modal loop (a message box) in which this timer ticks on.
        static bool running = false;
        FrameScript* self = current;
        if (running || self == nullptr || self->next >= self->steps.size())
            return;
        running = true;
        self->Step();
        running = false;
    }

    void Step()
    {
        if (GetTickCount() - started > kScriptLimitMs) {
            timedOut = true;
            stoppedAt = next;
            next = steps.size();
            if (HWND sheet = FindSheet())
                PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        const size_t at = next;
        if (steps[at]())
            next = at + 1;
    }

    static HWND FindSheet()
    {
        return testsupport::FindThreadWindow([](HWND window) {
            return FindWindowExW(window, nullptr, L"SysTabControl32", nullptr) != nullptr;
        });
    }
};
FrameScript* FrameScript::current = nullptr;

// Hands out the module's pages and keeps them, so the test can apply them as a frame's
// Apply button does (the frame of our test platform never applies its pages).
class RecordingFactory : public IClassFactory {
public:
    RecordingFactory(IClassFactory* inner, std::vector<IPropertyPage*>& made)
        : inner_(inner), made_(made)
    {
        inner_->AddRef();
    }
    virtual ~RecordingFactory() { inner_->Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        const HRESULT hr = inner_->CreateInstance(outer, riid, out);
        IPropertyPage* page = nullptr;
        if (SUCCEEDED(hr) && SUCCEEDED(static_cast<IUnknown*>(*out)->QueryInterface(
                                 IID_IPropertyPage, reinterpret_cast<void**>(&page))))
            made_.push_back(page);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override { return inner_->LockServer(lock); }

private:
    ULONG refs_ = 1;
    IClassFactory* inner_;
    std::vector<IPropertyPage*>& made_;
};

// The page dialog that holds the control `id`, once the frame has made it.
HWND PageHolding(int id)
{
    HWND sheet = FrameScript::FindSheet();
    if (sheet == nullptr)
        return nullptr;
    HWND control = testsupport::FindChildWindow(sheet, [id](HWND window) {
        return GetDlgCtrlID(window) == id && IsWindowVisible(window);
    });
    return control != nullptr ? GetParent(control) : nullptr;
}

// Writes what the frame shows as a BMP, for the documentation's pictures.
void SaveShot(HWND window, const std::string& path)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3) + 3) & ~3;
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + stride * h;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(out, bits, stride * h, &written, nullptr);
    CloseHandle(out);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

class PropertyFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_TRUE(module_.Loaded());
        // The frame makes its pages by class; the module's own factories serve them.
        for (const CLSID& page : kPages) {
            IClassFactory* factory = nullptr;
            ASSERT_EQ(module_.ClassObject(page, &factory), S_OK);
            auto* recording = new RecordingFactory(factory, pages_);
            factory->Release();
            DWORD cookie = 0;
            ASSERT_EQ(CoRegisterClassObject(page, recording, CLSCTX_INPROC_SERVER,
                                            REGCLS_MULTIPLEUSE, &cookie),
                      S_OK);
            recording->Release();
            cookies_.push_back(cookie);
        }
        control_ = module_.NewControl();
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override
    {
        for (IPropertyPage* page : pages_)
            EXPECT_EQ(page->Release(), 0u) << "the frame gave its pages back";
        if (control_ != nullptr) {
            EXPECT_EQ(control_->Release(), 0u) << "the pages released the control";
        }
        for (DWORD cookie : cookies_)
            CoRevokeClassObject(cookie);
        EXPECT_EQ(module_.CanUnloadNow(), S_OK) << "every page and the control are gone";
        OleUninitialize();
    }

    // Opens the frame on the control, with the pages it offers as a designer asks for
    // them, and runs the script inside it.
    void RunFrame(FrameScript& script)
    {
        ISpecifyPropertyPages* specify = nullptr;
        ASSERT_EQ(
            control_->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&specify)),
            S_OK);
        CAUUID pages{};
        ASSERT_EQ(specify->GetPages(&pages), S_OK);
        specify->Release();
        FrameScript::current = &script;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, FrameScript::Tick);
        IUnknown* objects[] = {control_};
        const HRESULT hr =
            OleCreatePropertyFrame(nullptr, 0, 0, L"Septena Control", 1, objects, pages.cElems,
                                   pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
        CoTaskMemFree(pages.pElems);
        KillTimer(nullptr, timer);
        FrameScript::current = nullptr;
        EXPECT_EQ(hr, S_OK);
        EXPECT_FALSE(script.timedOut) << "stopped at step " << script.stoppedAt;
        EXPECT_EQ(script.next, script.steps.size());
    }

    void ApplyPages()
    {
        for (IPropertyPage* page : pages_)
            page->Apply();
    }

    SeptenaModule module_;
    std::vector<IPropertyPage*> pages_;
    IDispatch* control_ = nullptr;
    std::vector<DWORD> cookies_;
};

TEST_F(PropertyFrameTest, TypedValuesReachTheControlThroughItsRules)
{
    FrameScript script;
    MessageBoxWatcher watcher;
    HWND page = nullptr;
    auto onPage = [&](int id) {
        return [&, id] {
            page = PageHolding(id);
            return page != nullptr;
        };
    };
    auto tab = [&](const wchar_t* caption) {
        return [caption] {
            // By caption: a frame leaves out the stock pages it cannot make.
            HWND sheet = FrameScript::FindSheet();
            HWND tabs = FindWindowExW(sheet, nullptr, L"SysTabControl32", nullptr);
            const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t text[64] = L"";
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = 64;
                SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
                if (wcscmp(text, caption) == 0)
                    SendMessageW(sheet, kSetCurrentPage, i, 0);
            }
            return true;
        };
    };
    auto shot = [&](const char* name) {
        return [name] {
            // SEPTENA_PAGE_SHOTS names a folder for pictures of the pages.
            const char* folder = getenv("SEPTENA_PAGE_SHOTS");
            if (folder != nullptr)
                SaveShot(FrameScript::FindSheet(), std::string(folder) + "\\" + name + ".bmp");
            return true;
        };
    };
    script.steps = {
        onPage(IDC_DAY),
        [&] { return ItemText(page, IDC_PRIME_TIME_START) == L"480"; },
        shot("septena-page-general"),
        [&] {
            TypeInto(page, IDC_MONTH, L"6");
            TypeInto(page, IDC_DAY, L"32");
            ApplyPages();
            return true;
        },
        [&] { return !MessageBoxWatcher::texts.empty(); },
        [&] {
            EXPECT_EQ(MessageBoxWatcher::texts[0], L"Please enter an integer between 0 and 31.");
            EXPECT_EQ(Number(control_, kMonth), 1) << "nothing is written when a box is refused";
            TypeInto(page, IDC_DAY, L"0");
            TypeInto(page, IDC_TIME_START, L"1500");
            ApplyPages();
            return true;
        },
        [&] { return ItemText(page, IDC_TIME_START) == L"60"; },  // as the control keeps it
        [&] {
            EXPECT_EQ(Number(control_, kTimeStart), 60);
            EXPECT_EQ(Number(control_, kDay), 1);
            EXPECT_EQ(Number(control_, kMonth), 6);
            EXPECT_EQ(ItemText(page, IDC_DAY), L"1");
            return true;
        },
        tab(L"More"),
        onPage(IDC_DAY_HEADER),
        shot("septena-page-more"),
        [&] {
            TypeInto(page, IDC_DAY_HEADER, L"");
            return true;
        },
        tab(L"About"),
        onPage(IDC_ABOUT_NAME),
        shot("septena-page-about"),
        [&] {
            ApplyPages();
            PostMessageW(FrameScript::FindSheet(), WM_COMMAND, IDOK, 0);
            return true;
        },
    };
    RunFrame(script);
    EXPECT_EQ(Text(control_, kDayHeader), L"");
    EXPECT_EQ(MessageBoxWatcher::texts.size(), 1u);
}

}  // namespace
