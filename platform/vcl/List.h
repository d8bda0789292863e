// TList: an ordered list of untyped pointers as the VCL keeps them (callers cast), and
// TTypedList<T>, the same list for one pointer type without the casts.
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/System.h"

// <0 when Item1 sorts first, 0 when equal, >0 when Item2 sorts first.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
    VCL_CLASS(TList)
    TList() = default;
    ~TList() override = default;

    int Count() const { return static_cast<int>(m_items.size()); }
    // Grows with nil pointers or shrinks from the end.
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(m_items.capacity()); }
    void SetCapacity(int NewCapacity);

    // Every index is checked: EListError "List index out of bounds (5)".
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void*& operator[](int Index);
    void* operator[](int Index) const { return Items(Index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence; returns its former index or -1.
    int Remove(void* Item);
    // Removes the first occurrence and returns it, or nil when absent.
    void* Extract(void* Item);
    int IndexOf(void* Item) const;
    void Clear();
    void Exchange(int Index1, int Index2);
    // Takes the item at CurIndex out and puts it back at NewIndex.
    void Move(int CurIndex, int NewIndex);
    // Drops every nil pointer.
    void Pack();
    // Stable: items that compare equal keep their order.
    void Sort(const TListSortCompare& Compare);
    void Assign(const TList& Source);

    const std::vector<void*>& List() const { return m_items; }

private:
    void Check(int Index) const;
    std::vector<void*> m_items;
};

// A TList of T* (T an object type), for code that would only cast.
template <class T>
class TTypedList {
public:
    int Count() const { return m_list.Count(); }
    T* Items(int Index) const { return static_cast<T*>(m_list.Items(Index)); }
    T* operator[](int Index) const { return Items(Index); }
    void SetItems(int Index, T* Item) { m_list.SetItems(Index, Item); }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }
    int Add(T* Item) { return m_list.Add(Item); }
    void Insert(int Index, T* Item) { m_list.Insert(Index, Item); }
    void Delete(int Index) { m_list.Delete(Index); }
    int Remove(T* Item) { return m_list.Remove(Item); }
    int IndexOf(T* Item) const { return m_list.IndexOf(Item); }
    void Clear() { m_list.Clear(); }
    void Exchange(int Index1, int Index2) { m_list.Exchange(Index1, Index2); }
    void Move(int CurIndex, int NewIndex) { m_list.Move(CurIndex, NewIndex); }
    void Sort(const std::function<int(T*, T*)>& Compare) {
        m_list.Sort([&](void* a, void* b) { return Compare(static_cast<T*>(a), static_cast<T*>(b)); });
    }
    TList& Untyped() { return m_list; }

private:
    TList m_list;
};
