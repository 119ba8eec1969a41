#include "core/file-replace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/native-path.h"

bool replaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string* error) {
    const std::filesystem::path target = nativePath(path);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    auto failed = [&](const std::string& reason) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        if (error) *error = reason;
        return false;
    };
    std::error_code kind;
    if (std::filesystem::is_directory(target, kind)) return failed("it is a folder");
    FILE* out = openFile(temporary, "wb");
    if (!out) return failed(std::strerror(errno));
    errno = 0;
    const bool written = write(out) && !std::ferror(out);
    const int writeErrno = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed)
        return failed(std::strerror(!written && writeErrno ? writeErrno : errno ? errno : EIO));
    std::error_code rename;
    std::filesystem::rename(temporary, target, rename);
    if (rename) return failed(rename.message());
    return true;
}

bool replaceFileContents(const std::string& path, const std::string& content, std::string* error) {
    return replaceFileWith(
        path,
        [&content](std::FILE* out) {
            return std::fwrite(content.data(), 1, content.size(), out) == content.size();
        },
        error);
}

bool readFileContents(const std::string& path, std::string& content) {
    std::error_code kind;
    if (std::filesystem::is_directory(nativePath(path), kind)) return false;
    FILE* in = openFile(nativePath(path), "rb");
    if (!in) return false;
    content.clear();
    // Room for the whole file at once: growing by doubling would hold two copies at a time.
    const auto size = std::filesystem::file_size(nativePath(path), kind);
    if (!kind && size < content.max_size()) content.reserve(static_cast<size_t>(size));
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        content.append(buffer, n);
    const bool ok = !std::ferror(in);
    std::fclose(in);
    return ok;
}

bool removeFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::remove(nativePath(path), error);
}
