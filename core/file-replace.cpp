#include "core/file-replace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool replaceFileContents(const std::string& path, const std::string& content, std::string* error) {
    const std::string temporary = path + ".tmp";
    auto failed = [&](const std::string& reason) {
        std::remove(temporary.c_str());
        if (error) *error = reason;
        return false;
    };
    FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return failed(std::strerror(errno));
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) return failed(std::strerror(written ? errno : writeErrno));
    std::error_code rename;
    std::filesystem::rename(temporary, path, rename);
    if (rename) return failed(rename.message());
    return true;
}

bool readFileContents(const std::string& path, std::string& content) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return false;
    content.clear();
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, n);
    const bool ok = !std::ferror(in);
    std::fclose(in);
    return ok;
}
