#include "tools/assetgen/ProgramFolder.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "base/Scale.h"
#include "face/picture/Avi.h"
#include "face/picture/Bmp.h"
#include "face/picture/Gif.h"
#include "tools/assetgen/Chimes.h"
#include "tools/assetgen/Designs.h"
#include "tools/assetgen/Frames.h"
#include "tools/assetgen/Rtf.h"

namespace assetgen {

namespace fs = std::filesystem;
using morix::picture::EncodeAvi;
using morix::picture::EncodeBmp24;
using morix::picture::EncodeGif;

namespace {

void Write(const fs::path& path, const void* data, std::size_t size, std::vector<WrittenFile>& log) {
    fs::create_directories(path.parent_path());
    // Written beside and renamed over, so a reader never sees half a file.
    const fs::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), std::streamsize(size));
        if (!out) throw std::runtime_error("cannot write " + temp.string());
    }
    fs::rename(temp, path);
    log.push_back({path, size});
}

void Write(const fs::path& path, const Bytes& bytes, std::vector<WrittenFile>& log) {
    Write(path, bytes.data(), bytes.size(), log);
}

}  // namespace

std::vector<WrittenFile> WriteProgramFolder(const fs::path& folder) {
    std::vector<WrittenFile> log;
    // 100 % in the folder itself, where a design has always had its files;
    // the other scales in subfolders named by percent.
    const auto set = [](int percent) { return percent == 100 ? fs::path() : fs::path(std::to_string(percent)); };
    for (int percent : morix::kScaleSets)
        for (const Design& d : BuildDesigns(percent)) {
            const fs::path dir = folder / "Design" / d.name / set(percent);
            Write(dir / "Back.bmp", EncodeBmp24(d.back), log);
            Write(dir / "TP.bmp", EncodeBmp24(d.outline), log);
            for (int n = 0; n < 60; ++n) {
                char name[8];
                std::snprintf(name, sizeof name, "%02d.avi", n);
                Write(dir / name, EncodeAvi(d.clips[n], d.palette, d.framesPerSecond), log);
            }
        }
    for (int percent : morix::kScaleSets)
        for (const BalloonFrame& f : BuildFrames(percent))
            for (std::size_t k = 0; k < kCorners.size(); ++k)
                Write(folder / "Frame" / f.name / set(percent) / PictureName(kCorners[k]),
                      EncodeGif(f.indexed[k], f.palettes[k]), log);
    for (const Chime& c : BuildChimes()) Write(folder / "Sound" / c.fileName, EncodeMidi(c.song), log);
    const std::string rtf = SampleMemoRtf();
    Write(folder / "Sample.rtf", rtf.data(), rtf.size(), log);
    fs::create_directories(folder / "Tickdata");
    return log;
}

}  // namespace assetgen
