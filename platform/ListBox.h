// A list box, not sorted: the items in the order they were added, at most one
// selected.
#pragma once

#include "platform/Control.h"

namespace morix::platform {

class ListBox : public ControlBase {
public:
    virtual void AddItem(std::string_view text) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    // The selected item's index, -1 for none. Selecting from the program
    // raises no Click.
    virtual int ListIndex() const = 0;
    virtual void SetListIndex(int index) = 0;
    // The user picked an item.
    virtual void OnClick(std::function<void()> handler) = 0;
};

}  // namespace morix::platform
