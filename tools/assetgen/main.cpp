// assetgen <program folder> [--icon <file.ico>]: writes the clock's designs,
// balloon frames, chimes, the sample memo and the empty memo folder into the
// folder, and the program's icon (for the executable's resources, not the
// folder) where --icon says.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/assetgen/Icon.h"
#include "tools/assetgen/ProgramFolder.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--icon") == 0)) {
        std::fprintf(stderr, "usage: assetgen <program folder> [--icon <file.ico>]\n");
        return 2;
    }
    try {
        if (argc == 4) {
            std::vector<assetgen::IconImage> icons;
            for (int size : assetgen::kIconSizes) icons.push_back(assetgen::DrawIcon(size));
            const assetgen::Bytes ico = assetgen::EncodeIco(icons);
            const std::string temp = std::string(argv[3]) + ".tmp";
            // In a fresh checkout the icon is the first thing written beside
            // the program folder, before anything made its parent.
            const std::filesystem::path parent = std::filesystem::path(argv[3]).parent_path();
            if (!parent.empty()) std::filesystem::create_directories(parent);
            {
                std::ofstream out(temp, std::ios::binary | std::ios::trunc);
                out.write(reinterpret_cast<const char*>(ico.data()), std::streamsize(ico.size()));
                if (!out) throw std::runtime_error("cannot write " + temp);
            }
            if (std::rename(temp.c_str(), argv[3]) != 0) throw std::runtime_error(std::string("cannot write ") + argv[3]);
        }
        const auto written = assetgen::WriteProgramFolder(argv[1]);
        std::map<std::string, std::pair<int, std::uintmax_t>> perFolder;
        std::uintmax_t total = 0;
        for (const auto& f : written) {
            auto& [files, bytes] = perFolder[f.path.parent_path().lexically_relative(argv[1]).generic_string()];
            ++files, bytes += f.bytes, total += f.bytes;
        }
        for (const auto& [folder, entry] : perFolder)
            std::printf("assetgen: %-20s %3d files %8ju bytes\n", folder.c_str(), entry.first,
                        entry.second);
        std::printf("assetgen: %zu files, %ju bytes in %s\n", written.size(), total, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
