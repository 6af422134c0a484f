// Pictures loaded from BMP and GIF files.
#pragma once

#include <memory>
#include <string_view>

namespace morix::platform {

class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;   // pixels
    virtual int Height() const = 0;
};

class Pictures {
public:
    virtual ~Pictures() = default;
    // Raises RuntimeError 53 for a missing file, 76 for a missing folder,
    // 481 for a file that is no picture.
    virtual std::shared_ptr<Picture> Load(std::string_view path) = 0;
};

}  // namespace morix::platform
