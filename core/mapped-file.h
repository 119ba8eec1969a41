// A file's bytes seen in place, without copying them: large models are read straight from
// the system's file cache. The file is only read; the view ends with the object.
#pragma once

#include <string>
#include <string_view>

class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file cannot be opened or is a folder. An empty file opens as no bytes.
    bool open(const std::string& path);
    std::string_view text() const { return {data_, size_}; }
    // Ends the view (text() is empty from then on).
    void close();

  private:
    const char* data_ = nullptr;
    size_t size_ = 0;
    void* mapping_ = nullptr; // what the system needs to end the view
};
