#include "platform/DeviceAxisCache.h"

void DeviceAxisCache::Reset() {
    if (entries_.empty() || ++generation_ == 0) {
        // Entries of generation 0 never match once the generation has moved past it.
        entries_.assign(std::size_t{1} << kBits, Entry{});
        generation_ = 1;
    }
    tag_ = std::uint64_t{generation_} << 32;
}
