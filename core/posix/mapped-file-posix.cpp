#include "core/mapped-file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/native-path.h"

MappedFile::~MappedFile() {
    close();
}

bool MappedFile::open(const std::string& path) {
    close();
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    size_ = static_cast<size_t>(info.st_size);
    if (size_ > 0) {
        void* view = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (view == MAP_FAILED) {
            ::close(fd);
            size_ = 0;
            return false;
        }
        madvise(view, size_, MADV_SEQUENTIAL);
        data_ = static_cast<const char*>(view);
        mapping_ = view;
    }
    ::close(fd); // the mapping keeps the file open
    return true;
}

void MappedFile::close() {
    if (mapping_) munmap(mapping_, size_);
    mapping_ = nullptr;
    data_ = nullptr;
    size_ = 0;
}
