// Writing a file whole without ever leaving half of it behind.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// Writes content to a temporary file beside path and renames it over path. When anything
// fails the previous file is left as it was, the temporary file is removed and the reason is
// stored in error (when given).
bool replaceFileContents(const std::string& path, const std::string& content,
                         std::string* error = nullptr);

// As replaceFileContents, with the content written by write (false when it could not).
bool replaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string* error = nullptr);

// The whole content of a file read as bytes; false when it cannot be opened (or is a folder).
bool readFileContents(const std::string& path, std::string& content);

// Deletes a file; false when there was none or it could not be deleted.
bool removeFile(const std::string& path);
