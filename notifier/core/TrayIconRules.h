// The tray icon's portable rules: the tool-tip cut, the mouse-message table and the frame steps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Mouse buttons as the tray icon's events report them.
enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Key and button state of a mouse event, a bit set.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

// The tool-tip field of the shell's notification record holds 63 characters and a NUL.
constexpr std::size_t kTrayTipLimit = 63;

// Tells whether a byte starts a two-byte character of the ANSI code page in use.
using TLeadByteTest = std::function<bool(unsigned char)>;

// The part of a hint shown as the tool-tip: the text before its first "|" (the whole text
// when it has none), cut to 63 bytes. A two-byte character is never split: a "|" that is the
// second byte of a Korean character does not end the text, and a character that would not
// fit whole is left out.
std::string ShortHint(const std::string& hint, const TLeadByteTest& isLeadByte);

// What one mouse message of the notification area's callback does.
enum class TTrayMouseKind { None, Move, Down, Up, DoubleClick };

struct TTrayMouseAction {
    TTrayMouseKind kind = TTrayMouseKind::None;
    TMouseButton button = TMouseButton::mbLeft;
    TShiftState buttonState = 0;  // added to the keys' state for the events
};

// The table of mouse messages (WM_MOUSEMOVE 0x200 .. WM_MBUTTONDBLCLK 0x209); any other
// message does nothing.
TTrayMouseAction TrayMouseAction(std::uint32_t mouseMessage);

// The frame shown for FrameIndex among count frames (count > 0): clamped into 0 .. count - 1.
int ClampFrame(int frameIndex, int count);
// The frame after frameIndex: one more, back to 0 when it reaches count.
int NextFrame(int frameIndex, int count);
