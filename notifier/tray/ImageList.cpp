// TImageList: a list of 16 x 16 pictures kept by the system's image list.
#include "ImageList.h"

namespace {
constexpr int kImageSize = 16;
}

TImageList::TImageList()
    : handle(ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, 11, 4))
{
}

TImageList::~TImageList()
{
    if (handle)
        ImageList_Destroy(handle);
}

int TImageList::Count() const
{
    return ImageList_GetImageCount(handle);
}

int TImageList::AddIcon(const TIcon& icon)
{
    if (!icon.Empty()) {
        const int index = ImageList_ReplaceIcon(handle, -1, icon.Handle());
        if (index >= 0) {
            missing.resize(index + 1, false);
            missing[index] = false;
            return index;
        }
    }
    // A missing picture still takes its place, so later pictures keep their numbers: a blank,
    // fully transparent image in the system's list, read back as no picture.
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, kImageSize, kImageSize);
    ReleaseDC(nullptr, screen);
    const WORD allSet[kImageSize] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                                     0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                                     0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    HBITMAP mask = CreateBitmap(kImageSize, kImageSize, 1, 1, allSet);
    const int index = ImageList_Add(handle, colour, mask);
    DeleteObject(colour);
    DeleteObject(mask);
    if (index >= 0) {
        missing.resize(index + 1, false);
        missing[index] = true;
    }
    return index;
}

void TImageList::GetIcon(int index, TIcon& icon) const
{
    if (index < 0 || index >= Count() ||
        (static_cast<size_t>(index) < missing.size() && missing[index])) {
        icon.SetHandle(nullptr);
        return;
    }
    icon.SetHandle(ImageList_GetIcon(handle, index, ILD_NORMAL));
}

void TImageList::Clear()
{
    ImageList_RemoveAll(handle);
    missing.clear();
}
