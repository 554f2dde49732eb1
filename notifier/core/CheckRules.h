// The mail check's decisions on a count: the tool-tip, the animation, the new-mail sound and
// the last count. No system calls.
#pragma once

#include <cstdint>
#include <string>

// The count of a check that got no count from the server.
constexpr int32_t kNoCount = -1;
// The count of a check that failed on the connection's protection (TLS handshake, the server's
// certificate, STLS refused): the user learns it is not the password.
constexpr int32_t kSecurityFailure = -2;

enum class AnimationKind { Checking, MailWaiting };

// The image-list pictures of each animation, in the order they are shown.
struct FrameRange {
    int first;
    int last;
};
constexpr FrameRange kMailWaitingFrames{1, 2};
constexpr FrameRange kCheckingFrames{3, 10};
FrameRange FramesOf(AnimationKind kind);

// What a finished check does with its count.
struct CheckOutcome {
    std::string hint;
    bool animate = false;  // mail-waiting frames; otherwise the animation is switched off
    bool playSound = false;
    int32_t lastMailCount = 0;  // the new value of LastMailCount
};
CheckOutcome DecideOnCount(int32_t count, int32_t lastMailCount);

// The new-mail sound a sound mode asks for (exact, case-sensitive comparison).
enum class SoundBranch { Resource, Silent, File };
SoundBranch SoundBranchOf(const std::string& soundMode);

// The wave resource in the resource library, and the flags of the two synchronous plays.
constexpr const char kNewMailWave[] = "WAV_WAVE4";
constexpr uint32_t kPlayResource = 0x40004;  // SND_RESOURCE
constexpr uint32_t kPlayFile = 0x20000;      // SND_FILENAME
