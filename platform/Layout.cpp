#include "platform/Layout.h"

#include <algorithm>
#include <numeric>

namespace morix::platform {

std::size_t NextInTabOrder(const std::vector<Rect>& places, std::size_t current, bool backwards) {
    if (places.empty()) return 0;
    std::vector<std::size_t> order(places.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Stable: two controls at the same place keep the order they were made in.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (places[a].top != places[b].top) return places[a].top < places[b].top;
        return places[a].left < places[b].left;
    });
    const auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end()) return backwards ? order.back() : order.front();
    const std::size_t i = static_cast<std::size_t>(at - order.begin());
    const std::size_t n = order.size();
    return order[backwards ? (i + n - 1) % n : (i + 1) % n];
}

}  // namespace morix::platform
