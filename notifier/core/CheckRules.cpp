// The mail check's decisions on a count.
#include "CheckRules.h"

#include "KoreanTexts.h"

FrameRange FramesOf(AnimationKind kind)
{
    return kind == AnimationKind::Checking ? kCheckingFrames : kMailWaitingFrames;
}

CheckOutcome DecideOnCount(int32_t count, int32_t lastMailCount)
{
    CheckOutcome outcome;
    outcome.lastMailCount = lastMailCount;
    if (count == kNoCount) {
        outcome.hint = kHintServerError;
    } else if (count == kSecurityFailure) {
        outcome.hint = kHintSecurityError;
    } else if (count < 1) {
        outcome.hint = kHintNoMail;
    } else {
        // A smaller count is a change too; an error or an empty mailbox left the last count.
        if (count != lastMailCount) {
            outcome.lastMailCount = count;
            outcome.playSound = true;
        }
        outcome.hint = std::to_string(count) + kHintMailSuffix;
        outcome.animate = true;
    }
    return outcome;
}

SoundBranch SoundBranchOf(const std::string& soundMode)
{
    if (soundMode == "default")
        return SoundBranch::Resource;
    if (soundMode == "nosound")
        return SoundBranch::Silent;
    return SoundBranch::File;
}
