// The mail check: ask the POP3 server for the number of waiting messages and tell the user
// through the tray icon's tool-tip, its animation and the new-mail sound.
#include "Application.h"
#include "Exceptions.h"
#include "KoreanTexts.h"
#include "Options.h"
#include "Pop3Client.h"
#include "chkMainUnit.h"

#include <mmsystem.h>

namespace {

// Marks a check as running for its whole length, also when it ends by an exception.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : running(flag) { running = true; }
    ~RunningFlag() { running = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& running;
};

}  // namespace

void TformMain::Timer1Timer()
{
    // A check that starts inside another one's wait would nest without bound when checks
    // last longer than the period: the running check's result will do, unless the user asked
    // for a check meanwhile, which then follows it.
    if (checkRunning)
        return;
    do {
        checkRequested = false;
        RunningFlag running(checkRunning);
        CheckOnce();
    } while (checkRequested);
}

void TformMain::RequestCheck()
{
    if (checkRunning)
        checkRequested = true;
    else
        Timer1Timer();
}

void TformMain::CheckOnce()
{
    try {
        SetAnimation(AnimationKind::Checking);
        tray1->SetHint(kHintChecking);
        CheckOutcome outcome = DecideOnCount(CountMessages(), LastMailCount);
        if (!outcome.animate) {
            tray1->SetAnimated(false);
        } else {
            if (outcome.playSound) {
                LastMailCount = outcome.lastMailCount;
                PlayNewMailSound();
            }
            SetAnimation(AnimationKind::MailWaiting);
        }
        tray1->SetHint(outcome.hint);
    } catch (...) {
        // Outside the mail path (the client could not be made, a tray update failed): the
        // periodic checks stop until the menu or a settings load switches them on again.
        Timer1.SetEnabled(false);
    }
}

int32_t TformMain::CountMessages()
{
    auto client = std::make_unique<TPop3Client>();
    client->Host = CurOption.PopServer;
    client->UserID = CurOption.Account;
    client->Password = CurOption.Password;
    client->Security = CurOption.Security;
    client->Port = PopPort > 0 ? PopPort : CurOption.Port;
    // A server that trickles a byte now and then keeps every single wait alive; the check as
    // a whole still ends at the deadline, like any other failure.
    TWindowTimer deadline;
    deadline.SetInterval(seams.checkDeadlineMs);
    deadline.SetOnTimer([&client](TWindowTimer& sender) {
        sender.SetEnabled(false);
        client->Cancel();
    });
    int32_t count = kNoCount;
    try {
        client->Connect();
        int32_t messages = client->MessageCount();
        client->Disconnect();
        count = messages;
    } catch (const ETlsError&) {
        count = kSecurityFailure;
    } catch (const std::exception&) {
        count = kNoCount;
    }
    deadline.SetEnabled(false);
    client.reset();
    return count;
}

void TformMain::SetAnimation(AnimationKind kind)
{
    if (!CurOption.UseAnimation) {
        tray1->SetAnimated(false);
        return;
    }
    TIcon scratch;
    TIconList& frames = tray1->Icons();
    frames.Clear();
    FrameRange range = FramesOf(kind);
    for (int index = range.first; index <= range.last; ++index) {
        imagelist1.GetIcon(index, scratch);
        frames.Add(scratch);
    }
    tray1->SetAnimated(true);
}

BOOL TformMain::PlayWave(const char* sound, HMODULE module, DWORD flags)
{
    if (seams.playSound)
        return seams.playSound(sound, module, flags);
    return PlaySoundA(sound, module, flags);
}

void TformMain::PlayNewMailSound()
{
    switch (SoundBranchOf(CurOption.SoundMode)) {
        case SoundBranch::Resource: {
            HMODULE library = LoadLibraryA((ExeDir + kResourceLibrary).c_str());
            try {
                PlayWave(kNewMailWave, library, kPlayResource);
            } catch (...) {
                if (library)
                    FreeLibrary(library);
                throw;
            }
            if (library)
                FreeLibrary(library);
            break;
        }
        case SoundBranch::Silent:
            break;
        case SoundBranch::File:
            PlayWave(CurOption.CustomSoundFile.c_str(), nullptr, kPlayFile);
            break;
    }
}
