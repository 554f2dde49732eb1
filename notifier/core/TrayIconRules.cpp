// The tray icon's portable rules: the tool-tip cut, the mouse-message table and the frame steps.
#include "TrayIconRules.h"

std::string ShortHint(const std::string& hint, const TLeadByteTest& isLeadByte)
{
    std::size_t end = 0;
    while (end < hint.size() && hint[end] != '|') {
        const bool pair =
            isLeadByte(static_cast<unsigned char>(hint[end])) && end + 1 < hint.size();
        const std::size_t width = pair ? 2 : 1;
        if (end + width > kTrayTipLimit) {
            break;
        }
        end += width;
    }
    return hint.substr(0, end);
}

TTrayMouseAction TrayMouseAction(std::uint32_t mouseMessage)
{
    using K = TTrayMouseKind;
    using B = TMouseButton;
    switch (mouseMessage) {
        case 0x200:  // WM_MOUSEMOVE
            return {K::Move, B::mbLeft, 0};
        case 0x201:  // WM_LBUTTONDOWN
            return {K::Down, B::mbLeft, ssLeft};
        case 0x202:  // WM_LBUTTONUP
            return {K::Up, B::mbLeft, ssLeft};
        case 0x203:  // WM_LBUTTONDBLCLK
            return {K::DoubleClick, B::mbLeft, ssDouble};
        case 0x204:  // WM_RBUTTONDOWN
            return {K::Down, B::mbRight, ssRight};
        case 0x205:  // WM_RBUTTONUP
            return {K::Up, B::mbRight, ssRight};
        case 0x206:  // WM_RBUTTONDBLCLK
            return {K::DoubleClick, B::mbRight, ssDouble};
        case 0x207:  // WM_MBUTTONDOWN
            return {K::Down, B::mbMiddle, ssMiddle};
        case 0x208:  // WM_MBUTTONUP
            return {K::Up, B::mbMiddle, ssMiddle};
        case 0x209:  // WM_MBUTTONDBLCLK
            return {K::DoubleClick, B::mbMiddle, ssDouble};
        default:
            return {};
    }
}

int ClampFrame(int frameIndex, int count)
{
    if (frameIndex < 0) {
        return 0;
    }
    return frameIndex >= count ? count - 1 : frameIndex;
}

int NextFrame(int frameIndex, int count)
{
    const int next = frameIndex + 1;
    return next >= count ? 0 : next;
}
