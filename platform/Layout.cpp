#include "platform/Layout.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace morix::platform {

namespace {

// The rows a control covers: an etched line lying flat covers one.
int Bottom(const Rect& r) { return std::max(r.bottom, r.top + 1); }

bool RowsMeet(const Rect& a, const Rect& b) { return a.top < Bottom(b) && b.top < Bottom(a); }

// Two controls stand in one row when the middle of either lies in the other's
// rows; two that only touch at their edges (a box just above a group) do not.
bool ShareARow(const Rect& a, const Rect& b) {
    const auto middleIn = [](const Rect& m, const Rect& r) {
        const int middle = (m.top + Bottom(m)) / 2;
        return middle >= r.top && middle < Bottom(r);
    };
    return middleIn(a, b) || middleIn(b, a);
}

// Fits the controls a container `width` pixels wide holds (InClientArea: the
// window's own), and those inside them first; returns by how much the
// container must widen: as far as the right edge of what it holds moved out,
// and at least so far that every caption in it shows whole (a control may
// reach past its container's edge, which cuts it).
int Settle(std::vector<CaptionFit>& controls, std::size_t container, int width) {
    std::vector<std::size_t> held;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].container == container) held.push_back(i);
    if (held.empty()) return 0;
    std::vector<int> grow(controls.size(), 0), shift(controls.size(), 0);
    for (std::size_t i : held)
        grow[i] = std::max({0, controls[i].captionWidth - controls[i].place.Width(),
                            Settle(controls, i, controls[i].place.Width())});
    // Left to right, each control moves by the most that a control left of it
    // in its row moved and grew.
    std::stable_sort(held.begin(), held.end(),
                     [&](std::size_t a, std::size_t b) { return controls[a].place.left < controls[b].place.left; });
    for (std::size_t k = 0; k < held.size(); ++k) {
        const Rect& place = controls[held[k]].place;
        for (std::size_t j = 0; j < k; ++j) {
            const Rect& left = controls[held[j]].place;
            if (left.left < place.left && ShareARow(left, place))
                shift[held[k]] = std::max(shift[held[k]], shift[held[j]] + grow[held[j]]);
        }
    }
    // What spans a grown control from before it to past it, beside it (a
    // line drawn round a group), stretches as far as the control reaches.
    std::vector<int> stretch(controls.size(), 0);
    for (std::size_t k : held)
        for (std::size_t i : held) {
            const Rect& a = controls[k].place;
            const Rect& b = controls[i].place;
            if (grow[i] > 0 && a.left < b.left && a.right > b.right && !RowsMeet(a, b))
                stretch[k] = std::max(stretch[k], shift[i] + grow[i] - shift[k]);
        }
    for (std::size_t i : held) grow[i] = std::max(grow[i], stretch[i]);
    int before = controls[held.front()].place.right, after = before, shown = width;
    for (std::size_t i : held) {
        Rect& place = controls[i].place;
        before = std::max(before, place.right);
        place.left += shift[i];
        place.right += shift[i] + grow[i];
        after = std::max(after, place.right);
        if (controls[i].captionWidth > 0) shown = std::max(shown, place.left + controls[i].captionWidth);
    }
    return std::max({0, after - before, shown - width});
}

// The same controls with rows for columns: the rule that widens, lengthens.
void Transpose(std::vector<CaptionFit>& controls) {
    for (CaptionFit& c : controls) {
        c.place = {c.place.top, c.place.left, c.place.bottom, c.place.right};
        std::swap(c.captionWidth, c.neededHeight);
    }
}

}  // namespace

ClientGrowth GrowToCaptions(std::vector<CaptionFit>& controls, int clientWidth, int clientHeight) {
    ClientGrowth growth;
    growth.width = Settle(controls, InClientArea, clientWidth);
    Transpose(controls);
    growth.height = Settle(controls, InClientArea, clientHeight);
    Transpose(controls);
    return growth;
}

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
