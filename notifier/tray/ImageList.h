// TImageList: a list of 16 x 16 pictures kept by the system's image list.
#pragma once

#include "Icon.h"

#include <commctrl.h>

#include <vector>

class TImageList {
public:
    TImageList();
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    int Count() const;
    // Appends a copy of the picture, scaled to 16 x 16; an empty icon gives an empty entry,
    // so the pictures after it keep their numbers. Returns its index.
    int AddIcon(const TIcon& icon);
    // Copies picture index into icon; an empty entry or an index outside the list empties
    // the icon.
    void GetIcon(int index, TIcon& icon) const;
    void Clear();

    HIMAGELIST Handle() const { return handle; }

private:
    HIMAGELIST handle = nullptr;
    // Per entry: no picture (the system's list holds a blank one in its place).
    std::vector<bool> missing;
};
