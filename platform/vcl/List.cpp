#include "platform/vcl/List.h"

#include <algorithm>

#include "platform/vcl/SysUtils.h"

void TList::Check(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0) throw EListError("List count out of bounds (" + IntToStr(NewCount) + ")");
    m_items.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < Count()) throw EListError("List capacity out of bounds (" + IntToStr(NewCapacity) + ")");
    m_items.reserve(static_cast<size_t>(NewCapacity));
}

void* TList::Items(int Index) const {
    Check(Index);
    return m_items[static_cast<size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
    Check(Index);
    m_items[static_cast<size_t>(Index)] = Item;
}

void*& TList::operator[](int Index) {
    Check(Index);
    return m_items[static_cast<size_t>(Index)];
}

int TList::Add(void* Item) {
    m_items.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    m_items.insert(m_items.begin() + Index, Item);
}

void TList::Delete(int Index) {
    Check(Index);
    m_items.erase(m_items.begin() + Index);
}

int TList::Remove(void* Item) {
    int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* Item) { return Remove(Item) >= 0 ? Item : nullptr; }

int TList::IndexOf(void* Item) const {
    auto it = std::find(m_items.begin(), m_items.end(), Item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void TList::Clear() {
    m_items.clear();
    m_items.shrink_to_fit();
}

void TList::Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(m_items[static_cast<size_t>(Index1)], m_items[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    Check(CurIndex);
    Check(NewIndex);
    void* item = m_items[static_cast<size_t>(CurIndex)];
    m_items.erase(m_items.begin() + CurIndex);
    m_items.insert(m_items.begin() + NewIndex, item);
}

void TList::Pack() { m_items.erase(std::remove(m_items.begin(), m_items.end(), nullptr), m_items.end()); }

void TList::Sort(const TListSortCompare& Compare) {
    if (!Compare) return;
    std::stable_sort(m_items.begin(), m_items.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Assign(const TList& Source) {
    if (&Source != this) m_items = Source.m_items;
}
