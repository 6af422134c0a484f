// Code page 932 through glibc's iconv ("CP932", Microsoft's mapping), for the
// native build.
#pragma once

#include "platform/CodePage.h"

#include <mutex>

namespace morix::platform {

class PosixCodePage final : public CodePage {
public:
    PosixCodePage();
    ~PosixCodePage() override;
    PosixCodePage(const PosixCodePage&) = delete;
    PosixCodePage& operator=(const PosixCodePage&) = delete;

    std::string ToAnsi(std::string_view utf8) const override;
    std::string FromAnsi(std::string_view ansi) const override;

private:
    void* toAnsi_;    // iconv_t, opened once: opening costs far more than a conversion
    void* fromAnsi_;
    mutable std::mutex mutex_;
};

}  // namespace morix::platform
