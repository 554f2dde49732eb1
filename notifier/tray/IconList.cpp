// TIconList: an owned, ordered list of icons that reports its changes.
#include "IconList.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

// Raises the update counter for one batch of changes.
class UpdateBatch {
public:
    explicit UpdateBatch(TIconList& list) : list(list) { list.BeginUpdate(); }
    ~UpdateBatch() { list.EndUpdate(); }

private:
    TIconList& list;
};

}  // namespace

TIconList::~TIconList()
{
    OnChange = nullptr;
    items.clear();
}

TIcon* TIconList::Items(int index) const
{
    CheckIndex(index, Count() - 1);
    return items[index].get();
}

void TIconList::SetItems(int index, const TIcon& icon)
{
    CheckIndex(index, Count());
    UpdateBatch batch(*this);
    if (index == Count())
        items.emplace_back();
    if (!items[index])
        items[index] = NewEntry(nullptr);
    items[index]->Assign(icon);
    Changed();
}

int TIconList::Add(const TIcon& icon)
{
    items.push_back(NewEntry(&icon));
    Changed();
    return Count() - 1;
}

int TIconList::AddResource(HINSTANCE module, const char* name)
{
    TIcon loaded;
    loaded.SetHandle(static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, 0, 0, 0)));
    return Add(loaded);
}

void TIconList::Insert(int index, const TIcon& icon)
{
    CheckIndex(index, Count());
    items.insert(items.begin() + index, NewEntry(&icon));
    Changed();
}

void TIconList::InsertResource(int index, HINSTANCE module, const char* name)
{
    TIcon loaded;
    loaded.SetHandle(static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, 0, 0, 0)));
    Insert(index, loaded);
}

void TIconList::Delete(int index)
{
    CheckIndex(index, Count() - 1);
    items.erase(items.begin() + index);
    Changed();
}

void TIconList::Exchange(int index1, int index2)
{
    CheckIndex(index1, Count() - 1);
    CheckIndex(index2, Count() - 1);
    std::swap(items[index1], items[index2]);
    Changed();
}

void TIconList::Move(int from, int to)
{
    CheckIndex(from, Count() - 1);
    CheckIndex(to, Count() - 1);
    std::unique_ptr<TIcon> entry = std::move(items[from]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, std::move(entry));
    Changed();
}

int TIconList::IndexOf(const TIcon* icon) const
{
    for (int i = 0; i < Count(); ++i) {
        if (items[i].get() == icon)
            return i;
    }
    return -1;
}

void TIconList::Clear()
{
    UpdateBatch batch(*this);
    while (!items.empty())
        Delete(Count() - 1);
}

void TIconList::Assign(const TIconList* source)
{
    if (source == this)
        return;
    UpdateBatch batch(*this);
    Clear();
    if (source) {
        for (const auto& entry : source->items) {
            items.push_back(entry ? NewEntry(entry.get()) : nullptr);
            Changed();
        }
    }
}

void TIconList::Assign(const TIcon* source)
{
    UpdateBatch batch(*this);
    Clear();
    if (source)
        Add(*source);
}

void TIconList::BeginUpdate()
{
    ++updateCount;
}

void TIconList::EndUpdate()
{
    if (updateCount > 0 && --updateCount == 0)
        Changed();
}

std::vector<std::uint8_t> TIconList::WriteData() const
{
    std::vector<TIconBytes> entries;
    for (const auto& entry : items)
        entries.push_back(entry ? entry->SaveToBytes() : TIconBytes());
    return WriteIconListStream(entries);
}

void TIconList::ReadData(const std::uint8_t* data, std::size_t size)
{
    // Every picture is read before the list is touched, so bad data loses nothing.
    // An empty entry is stored with length 0 and read back as an empty slot.
    std::vector<std::unique_ptr<TIcon>> loaded;
    for (const TIconBytes& bytes : ReadIconListStream(data, size)) {
        loaded.emplace_back();
        if (!bytes.empty()) {
            loaded.back() = std::make_unique<TIcon>();
            loaded.back()->LoadFromBytes(bytes);
        }
    }
    UpdateBatch batch(*this);
    Clear();
    items = std::move(loaded);
    for (auto& entry : items) {
        if (entry)
            entry->OnChange = [this](TIcon&) { Changed(); };
    }
    Changed();
}

std::unique_ptr<TIcon> TIconList::NewEntry(const TIcon* picture)
{
    auto entry = std::make_unique<TIcon>();
    if (picture)
        entry->Assign(*picture);
    entry->OnChange = [this](TIcon&) { Changed(); };
    return entry;
}

void TIconList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

void TIconList::Changed()
{
    if (updateCount == 0 && OnChange)
        OnChange(*this);
}
