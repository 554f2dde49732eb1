// TIconList: an owned, ordered list of icons that reports its changes.
#pragma once

#include "Icon.h"

#include <memory>
#include <string>
#include <vector>

class TIconList {
public:
    using TNotifyEvent = std::function<void(TIconList& Sender)>;

    TIconList() = default;
    ~TIconList();
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    int Count() const { return static_cast<int>(items.size()); }
    // The icon at index (null for an empty entry); raises std::out_of_range outside 0..Count-1.
    TIcon* Items(int index) const;
    // Index equal to Count appends an empty entry first; an empty slot gets a new icon; then
    // the picture is copied into it; all as one change.
    void SetItems(int index, const TIcon& icon);

    int Add(const TIcon& icon);
    int AddResource(HINSTANCE module, const char* name);
    void Insert(int index, const TIcon& icon);
    void InsertResource(int index, HINSTANCE module, const char* name);
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Move(int from, int to);
    int IndexOf(const TIcon* icon) const;
    void Clear();
    // From another list, from a single icon or from nothing (null): the list becomes a copy.
    void Assign(const TIconList* source);
    void Assign(const TIcon* source);

    void BeginUpdate();
    void EndUpdate();

    // The stored form (IconListStream.h). Reading raises EIconListStream on a bad stored form
    // and leaves the list as it was; otherwise the list is replaced as one change.
    std::vector<std::uint8_t> WriteData() const;
    void ReadData(const std::uint8_t* data, std::size_t size);

    // Fired after every change while no update is open.
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TIcon> NewEntry(const TIcon* picture);
    void CheckIndex(int index, int limit) const;
    void Changed();

    std::vector<std::unique_ptr<TIcon>> items;
    int updateCount = 0;
};
