// assetgen <program folder>: writes the clock's designs, balloon frames,
// chimes, the sample memo and the empty memo folder into the folder.
#include <cstdio>
#include <exception>
#include <map>

#include "tools/assetgen/ProgramFolder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <program folder>\n");
        return 2;
    }
    try {
        const auto written = assetgen::WriteProgramFolder(argv[1]);
        std::map<std::string, std::pair<int, std::uintmax_t>> perFolder;
        std::uintmax_t total = 0;
        for (const auto& f : written) {
            auto& [files, bytes] = perFolder[f.path.parent_path().lexically_relative(argv[1]).generic_string()];
            ++files, bytes += f.bytes, total += f.bytes;
        }
        for (const auto& [folder, entry] : perFolder)
            std::printf("assetgen: %-18s %3d files %8ju bytes\n", folder.c_str(), entry.first, entry.second);
        std::printf("assetgen: %zu files, %ju bytes in %s\n", written.size(), total, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
