#include "core/mapped-file.h"

#include <windows.h>

#include "core/native-path.h"

namespace {

// Windows 8's PrefetchVirtualMemory, looked up as Windows 7 lacks it (and so do the headers
// for the Windows version the program declares).
struct MemoryRange {
    void* address;
    SIZE_T bytes;
};
using PrefetchMemory = BOOL(WINAPI*)(HANDLE, ULONG_PTR, MemoryRange*, ULONG);

// Asks for the view's pages at once, as a reading touches every one of them: the system then
// reads them in large requests instead of faulting them in a page at a time. Nothing changes
// where the function is missing or fails.
void prefetchView(const void* view, size_t size) {
    static const auto prefetch = [] {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        return kernel ? reinterpret_cast<PrefetchMemory>(reinterpret_cast<void*>(
                            GetProcAddress(kernel, "PrefetchVirtualMemory")))
                      : nullptr;
    }();
    MemoryRange range = {const_cast<void*>(view), size};
    if (prefetch) prefetch(GetCurrentProcess(), 1, &range, 0);
}

} // namespace

MappedFile::~MappedFile() {
    close();
}

bool MappedFile::open(const std::string& path) {
    close();
    // Others may read and even replace the file meanwhile (a save renames over it); the
    // view keeps the bytes that were there.
    HANDLE file = CreateFileW(nativePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileSizeEx(file, &size) || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
        CloseHandle(file);
        return false;
    }
    if (size.QuadPart > 0) {
        HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (mapping) CloseHandle(mapping); // the view keeps the mapping alive
        if (!view) {
            CloseHandle(file);
            return false;
        }
        data_ = static_cast<const char*>(view);
        size_ = static_cast<size_t>(size.QuadPart);
        prefetchView(view, size_);
        mapping_ = const_cast<void*>(view);
    }
    CloseHandle(file);
    return true;
}

void MappedFile::close() {
    if (mapping_) UnmapViewOfFile(mapping_);
    mapping_ = nullptr;
    data_ = nullptr;
    size_ = 0;
}
