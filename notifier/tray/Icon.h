// TIcon: an owned icon picture that reports its changes.
#pragma once

#include "IconListStream.h"

#include <windows.h>

#include <functional>

class TIcon {
public:
    using TNotifyEvent = std::function<void(TIcon& Sender)>;

    TIcon() = default;
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return handle; }
    bool Empty() const { return handle == nullptr; }
    // Takes ownership of the handle (null empties the icon); reports a change.
    void SetHandle(HICON value);
    // Copies the picture of source (an empty source empties this icon); reports a change.
    void Assign(const TIcon& source);

    // The picture in icon-file layout (empty for an empty icon).
    TIconBytes SaveToBytes() const;
    // Replaces the picture with the first image of an icon file; raises EIconListStream when
    // the bytes are no icon. An empty byte run empties the icon.
    void LoadFromBytes(const TIconBytes& bytes);

    TNotifyEvent OnChange;

private:
    void Changed();

    HICON handle = nullptr;
};
