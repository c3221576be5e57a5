// The seven image files of the grass scene, which it reads from its working
// directory, and what is missing of them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace grass {

// The ground and the wall (BMP), then the grasses of the keys 1 to 5 (TGA).
inline constexpr std::array<const char*, 7> IMAGE_FILES = {
    "Floor04.bmp", "wall.bmp", "grassb00.tga", "grassb01.tga", "grassb02.tga", "grassc00.tga", "grassc01.tga"};

// The names of IMAGE_FILES that are not regular files in `dir`, in order.
std::vector<std::string> missing_image_files(const std::filesystem::path& dir);

// Writes one line on stderr for each image file missing from the working
// directory, naming the file and the directory.
void report_missing_image_files();

}  // namespace grass
