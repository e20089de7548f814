#pragma once
// The set of popup-menu windows that are currently dressed in the skin's frame.
// The table is allocated with its first entry and freed with its last, so no
// memory stays behind between menus. Portable; keyed by window handle on Win32.
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

template <typename Key, typename Record>
class MenuRegistry {
public:
    static constexpr size_t kBuckets = 1000;

    // False when the key is already present (the record is not replaced).
    bool Add(Key key, Record record) {
        if (!map_) {
            map_ = std::make_unique<Map>();
            map_->reserve(kBuckets);
        }
        return map_->emplace(key, std::move(record)).second;
    }
    bool Remove(Key key) {
        if (!map_) return false;
        const bool removed = map_->erase(key) > 0;
        if (map_->empty()) map_.reset();
        return removed;
    }
    bool Contains(Key key) const { return map_ && map_->count(key) > 0; }
    size_t Size() const { return map_ ? map_->size() : 0; }
    // Whether the table's storage exists at all.
    bool Allocated() const { return map_ != nullptr; }
    std::vector<Key> Keys() const {
        std::vector<Key> keys;
        if (map_)
            for (const auto& entry : *map_) keys.push_back(entry.first);
        return keys;
    }
    void Clear() { map_.reset(); }

private:
    using Map = std::unordered_map<Key, Record>;
    std::unique_ptr<Map> map_;
};
