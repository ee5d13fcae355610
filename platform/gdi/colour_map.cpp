#include "platform/gdi/colour_map.h"

#include <mutex>

#include "platform/gdi/hardware_palette.h"

namespace gdi {
namespace {

struct CachedMap {
    std::array<Rgb, 256> source{}, destination{};
    IndexMap map{};
    bool used = false;
};

struct MapCache {
    std::mutex mutex;
    std::array<CachedMap, 8> entries;
    std::size_t next = 0;
};

MapCache& Cache() {
    static auto* cache = new MapCache;
    return *cache;
}

}  // namespace

std::array<Rgb, 256> ColourTableOf(const Surface& s) {
    if (s.device) return HardwareSnapshot();
    return s.table;
}

IndexMap NearestMap(const std::array<Rgb, 256>& source, const std::array<Rgb, 256>& destination) {
    IndexMap map;
    if (source == destination) {
        for (std::uint32_t i = 0; i < 256; ++i) map[i] = i;
        return map;
    }
    MapCache& cache = Cache();
    {
        std::lock_guard lock(cache.mutex);
        for (const CachedMap& e : cache.entries)
            if (e.used && e.source == source && e.destination == destination) return e.map;
    }
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<std::uint32_t>(NearestIndex(destination.data(), 256, source[i]));
    std::lock_guard lock(cache.mutex);
    CachedMap& slot = cache.entries[cache.next];
    cache.next = (cache.next + 1) % cache.entries.size();
    slot = {source, destination, map, true};
    return map;
}

NearestCache::NearestCache(const std::array<Rgb, 256>& table) : table_(table) { keys_.fill(0xFFFFFFFFu); }

std::uint8_t NearestCache::operator()(Rgb colour) {
    const std::size_t slot = ((colour >> 12) ^ (colour >> 4) ^ colour) & 4095;
    if (keys_[slot] != colour) {
        keys_[slot] = colour;
        values_[slot] = static_cast<std::uint8_t>(NearestIndex(table_.data(), 256, colour));
    }
    return values_[slot];
}

}  // namespace gdi
