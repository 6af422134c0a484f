// Writes the assets of the program folder: Design/, Frame/, Sound/,
// Tickdata/ (empty: the memos go there) and Sample.rtf. Files of the same
// names are replaced; nothing else in the folder is touched, so designs,
// frames, chimes and memos the user added stay.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

struct WrittenFile {
    std::filesystem::path path;
    std::uintmax_t bytes;
};

std::vector<WrittenFile> WriteProgramFolder(const std::filesystem::path& folder);

}  // namespace assetgen
