// lumora-sound-displays FOLDER: writes the sound-driven displays as settings
// files into FOLDER.  It works in a registry of its own, so the user's saved
// displays are never touched.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/lumora-spectrum/displays/sound_displays.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumora-sound-displays FOLDER\n");
        return 2;
    }
    std::string root = (std::filesystem::temp_directory_path() / "lumora-displays-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
        std::perror("lumora-sound-displays");
        return 1;
    }
    setenv("LUMORA_ROOT", root.c_str(), 1);
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    const auto files = WriteSoundDisplays(argv[1]);
    std::filesystem::remove_all(root, error);
    for (const std::string& file : files) std::printf("%s\n", file.c_str());
    return files.empty() ? 1 : 0;
}
