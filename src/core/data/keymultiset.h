// A multiset of 64-bit keys (data/texthash.h) in 9 bytes a key: added while rows are read, sealed, then
// counted or taken one at a time. Indexes of a hundred thousand rows stay under a megabyte.
#ifndef KEYMULTISET_H
#define KEYMULTISET_H

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <vector>

class KeyMultiset
{
public:
    void add(quint64 key) { keys_.push_back(key); }
    // After the last add(): sorts the keys and makes every key untaken.
    void seal()
    {
        std::sort(keys_.begin(), keys_.end());
        keys_.shrink_to_fit();
        untake_all();
    }
    void untake_all() { taken_.assign(keys_.size(), 0); }
    int count(quint64 key) const
    {
        const auto range = std::equal_range(keys_.begin(), keys_.end(), key);
        return int(range.second - range.first);
    }
    // Takes one `key` not taken before; false when none is left.
    bool take(quint64 key)
    {
        for (auto it = std::lower_bound(keys_.begin(), keys_.end(), key); it != keys_.end() && *it == key; ++it) {
            std::uint8_t& taken = taken_[std::size_t(it - keys_.begin())];
            if (!taken) {
                taken = 1;
                return true;
            }
        }
        return false;
    }

private:
    std::vector<quint64> keys_;
    std::vector<std::uint8_t> taken_;
};

#endif // KEYMULTISET_H
