// The dictionary's table of loaded files, keyed by main identifier. Search-all lookups walk it in the order of
// the classic 17-bucket integer hash map: buckets ascending by (id >> 4) % 17, newest entry first in a bucket.
#pragma once

#include <array>
#include <vector>

#include <windows.h>

namespace nsVendrel {

template <class T>
class DictionaryFileTable {
public:
    static constexpr ULONG kBuckets = 17;

    T* Lookup(ULONG id) const
    {
        for (const Entry& e : m_buckets[Bucket(id)])
            if (e.id == id) return e.value;
        return nullptr;
    }
    // Adds a new id (the caller checked it is absent); it is met first in its bucket afterwards.
    void Add(ULONG id, T* value)
    {
        auto& b = m_buckets[Bucket(id)];
        b.insert(b.begin(), Entry{id, value});
    }
    bool IsEmpty() const
    {
        for (const auto& b : m_buckets)
            if (!b.empty()) return false;
        return true;
    }
    // Calls f(id, value) in walk order.
    template <class F>
    void ForEach(F f) const
    {
        for (const auto& b : m_buckets)
            for (const Entry& e : b) f(e.id, e.value);
    }
    void Clear()
    {
        for (auto& b : m_buckets) b.clear();
    }

    static ULONG Bucket(ULONG id) { return (id >> 4) % kBuckets; }

private:
    struct Entry {
        ULONG id;
        T* value;
    };
    std::array<std::vector<Entry>, kBuckets> m_buckets;
};

}  // namespace nsVendrel
