#include "core/native-path.h"

std::filesystem::path nativePath(const std::string& name) {
    return std::filesystem::path(name);
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}
