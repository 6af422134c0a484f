// What the dialogs share: a control's place given in twips of its container
// (as the forms are laid out) turned into the pixels the platform takes, in
// the one conversion of base/Twips.h.
#pragma once

#include "base/RuntimeError.h"
#include "base/Twips.h"
#include "platform/Ui.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace morix {

class TwipsLayout {
public:
    TwipsLayout(TwipsPerPixel twipsX, TwipsPerPixel twipsY) : twipsX_(twipsX), twipsY_(twipsY) {}

    platform::ControlSpec operator()(std::string name, std::string caption, long long left, long long top,
                                     long long width, long long height, platform::Control* container = nullptr) const {
        return {std::move(name), PixelRect(left, top, width, height, twipsX_, twipsY_), std::move(caption), container};
    }
    int Pixels(long long twips) const { return twipsX_.Pixels(twips); }
    int PixelsY(long long twips) const { return twipsY_.Pixels(twips); }

private:
    TwipsPerPixel twipsX_, twipsY_;
};

// Places on the unit grid of the memo picker and the date and time dialog:
// their inner area is 176 x 233 units, a unit an unscaled pixel.
inline constexpr int GridWidth = 176, GridHeight = 233;
class GridLayout {
public:
    explicit GridLayout(TwipsPerPixel scale) : scale_(scale) {}
    platform::Rect operator()(int left, int top, int width, int height) const {
        return scale_.Scaled(platform::Rect{left, top, left + width, top + height});
    }
    int Width() const { return scale_.Scaled(GridWidth); }
    int Height() const { return scale_.Scaled(GridHeight); }

private:
    TwipsPerPixel scale_;
};

// A dialog opened from the menu takes the front and the keyboard, as a shown
// form does; only the step that then makes it topmost leaves the activation
// alone.
inline void ShowDialog(platform::Window& dialog) {
    dialog.ShowAndActivate();
    dialog.ShowTopmostInactive();
}

// A stored number as a check box's value: 0, 1 or 2 (greyed), narrowed to
// 16 bits; any other value is no value of a check box (error 380).
inline int CheckBoxValue(std::int32_t stored) {
    const std::int16_t v = ToInt16(stored);
    if (v < 0 || v > 2) Raise(err::InvalidProperty);
    return v;
}

// The element of a control array by its index; an index it does not have
// is an error (340).
template <std::size_t N>
platform::Control& ElementAt(const std::array<std::unique_ptr<platform::Control>, N>& controls, long long index) {
    if (index < 0 || index >= static_cast<long long>(N)) Raise(err::NoSuchControl);
    return *controls[static_cast<std::size_t>(index)];
}

// The selected item's text, "" when none is selected.
inline std::string SelectedText(const platform::ListBox& list) {
    return list.ListIndex() < 0 ? std::string() : list.Item(list.ListIndex());
}

}  // namespace morix
