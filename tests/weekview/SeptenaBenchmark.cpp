// Prints what SEPTENA.OCX costs a container: creation to first paint, an automation
// call by name and by DISPID against the same call made directly in C++, and the
// module's size. The module is loaded from beside this program, without registration.
// Usage: SeptenaBenchmark [ITERATIONS]   (default 20000 calls; CI runs few)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchClock.h"
#include "ChildProcess.h"
#include "OcxHost.h"
#include "WeekViewControl.h"
#include "com/SeptenaIds.h"

using namespace ocxtest;

namespace {

using testsupport::NowMs;

struct NoHost : weekview::ControlSite, weekview::WeekViewEvents {
    void InvalidateControl() override {}
    void SetModified() override {}
    bool IsRunMode() const override { return true; }
    void SetScrollRange(int) override {}
    void SetScrollThumb(int) override {}
    void RepaintNow(const weekview::Rect&) override {}
    void TimeSelect(int32_t, int16_t, int32_t, int16_t) override {}
    void RightClick(int16_t, int32_t, int16_t, int32_t, int16_t, const std::string&) override {}
    void Error(int16_t, int16_t) override {}
};

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// Creation, site, in-place activation and the first WM_PAINT, in milliseconds.
double FirstPaintMs(IClassFactory* factory, HWND host)
{
    const double start = NowMs();
    IOleObject* ole = nullptr;
    factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&ole));
    auto* site = new TestSite(host);
    ole->SetClientSite(site);
    ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host, &site->position);
    IOleInPlaceObject* inPlace = nullptr;
    ole->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    HWND window = nullptr;
    inPlace->GetWindow(&window);
    UpdateWindow(window);
    const double elapsed = NowMs() - start;
    inPlace->Release();
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
    ole->Release();
    site->Release();
    return elapsed;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    CoInitialize(nullptr);
    const std::string path = testsupport::BinDir() + "SEPTENA.OCX";
    HMODULE module = LoadLibraryA(path.c_str());
    auto getClassObject = module ? reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(
                                       GetProcAddress(module, "DllGetClassObject")))
                                 : nullptr;
    IClassFactory* factory = nullptr;
    if (getClassObject == nullptr ||
        FAILED(getClassObject(septena::CLSID_Septena, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory)))) {
        std::fprintf(stderr, "SeptenaBenchmark: cannot load %s\n", path.c_str());
        return 1;
    }
    HWND host = CreateHostWindow();
    std::vector<double> firstPaints;
    for (int i = 0; i < 5; ++i)
        firstPaints.push_back(FirstPaintMs(factory, host));

    IDispatch* d = nullptr;
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&d));
    VARIANT arg = Long(46361);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    double start = NowMs();
    for (int i = 0; i < calls; ++i)
        d->Invoke(34, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    const double byDispid = (NowMs() - start) * 1000.0 / calls;
    LPOLESTR name = const_cast<LPOLESTR>(L"FindDay");
    start = NowMs();
    for (int i = 0; i < calls; ++i) {
        DISPID id = 0;
        d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
        d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    }
    const double byName = (NowMs() - start) * 1000.0 / calls;
    d->Release();

    NoHost noHost;
    weekview::WeekViewControl direct(noHost, noHost);
    volatile int sink = 0;
    start = NowMs();
    for (int i = 0; i < calls; ++i)
        sink = sink + direct.FindDay(46361 + (i & 1));
    const double directUs = (NowMs() - start) * 1000.0 / calls;

    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("creation to first paint, 640x480, in-place active (median of 5)  %8.2f ms\n",
                Median(firstPaints));
    std::printf("FindDay by DISPID (Invoke)                                     %8.3f us\n",
                byDispid);
    std::printf("FindDay by name (GetIDsOfNames + Invoke)                       %8.3f us\n",
                byName);
    std::printf("FindDay direct C++ call                                        %8.3f us\n",
                directUs);
    std::printf("SEPTENA.OCX size                                               %8lu bytes\n",
                static_cast<unsigned long>(attributes.nFileSizeLow));
    factory->Release();
    DestroyWindow(host);
    CoUninitialize();
    return 0;
}
