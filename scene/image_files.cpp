#include "scene/image_files.h"

#include <cstdio>
#include <system_error>

namespace grass {

std::vector<std::string> missing_image_files(const std::filesystem::path& dir) {
    std::vector<std::string> missing;
    for (const char* name : IMAGE_FILES) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(dir / name, error)) missing.emplace_back(name);
    }
    return missing;
}

void report_missing_image_files() {
    const std::vector<std::string> missing = missing_image_files(".");
    if (missing.empty()) return;
    std::error_code error;
    std::string where = std::filesystem::current_path(error).string();
    if (error) where = "the working directory";
    for (const std::string& name : missing)
        std::fprintf(stderr, "grass: image file \"%s\" not found in %s\n", name.c_str(), where.c_str());
    std::fflush(stderr);
}

}  // namespace grass
