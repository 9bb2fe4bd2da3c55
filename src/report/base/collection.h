#pragma once
// Owned lists of persistent items (report variables, datasets of a report, styles).
#include "platform/core/reflection.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace orv::report {

class CollectionBase;

class CollectionItem : public orv::platform::Persistent {
    ORV_RTTI_CLASS(CollectionItem)
public:
    CollectionBase* Collection() const { return m_collection; }
    int Index() const;

private:
    friend class CollectionBase;
    CollectionBase* m_collection = nullptr;
};

class CollectionBase : public orv::platform::Persistent {
    ORV_RTTI_CLASS(CollectionBase)
public:
    virtual int Count() const = 0;
    virtual CollectionItem* GetItem(int Index) const = 0;
    // A new item at the end.
    virtual CollectionItem* AddItem() = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

protected:
    void adopt(CollectionItem* item) { item->m_collection = this; }
};

template <class Item>
class Collection : public CollectionBase {
public:
    int Count() const override { return int(m_items.size()); }
    Item* Items(int Index) const { return m_items.at(size_t(Index)).get(); }
    CollectionItem* GetItem(int Index) const override { return Items(Index); }
    CollectionItem* AddItem() override { return Add(); }
    Item* Add() { return Insert(Count()); }
    Item* Insert(int Index)
    {
        auto item = std::make_unique<Item>();
        adopt(item.get());
        Item* raw = item.get();
        m_items.insert(m_items.begin() + std::clamp(Index, 0, Count()), std::move(item));
        return raw;
    }
    void Delete(int Index) override
    {
        if (Index >= 0 && Index < Count())
            m_items.erase(m_items.begin() + Index);
    }
    void Clear() override { m_items.clear(); }
    int IndexOf(const CollectionItem* item) const
    {
        for (int i = 0; i < Count(); ++i)
            if (m_items[size_t(i)].get() == item)
                return i;
        return -1;
    }

private:
    std::vector<std::unique_ptr<Item>> m_items;
};

inline int CollectionItem::Index() const
{
    if (!m_collection)
        return -1;
    for (int i = 0; i < m_collection->Count(); ++i)
        if (m_collection->GetItem(i) == this)
            return i;
    return -1;
}

} // namespace orv::report
