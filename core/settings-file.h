// The editor's settings file: a Windows-style INI file read and written one key at a time,
// with the rules of the Windows private-profile functions (section and key names compared
// without regard to case, first match wins, a missing file reads as every key missing).
#pragma once

#include <string>

class SettingsFile {
  public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The leading signed decimal number of the value; def when the key is missing,
    // 0 when the value does not start with a number.
    int readInt(const char* section, const char* key, int def) const;
    // The value, cut to bufferSize − 1 characters; def (cut the same way) when missing.
    std::string readString(const char* section, const char* key, const char* def,
                           size_t bufferSize) const;
    // Whether the key is present in the section.
    bool contains(const char* section, const char* key) const;
    // A float stored as text (as listedNumber writes it): read into a 40-character buffer
    // (default "0") and parsed with "%f", which takes exponents too; a value that does not
    // parse gives 0.
    float readFloat(const char* section, const char* key) const;

    // Creates the file, section or key as needed and replaces the key's value, leaving the
    // other lines as they are. The file is replaced whole through a temporary file, so a
    // crash never leaves half a file. Returns false when the file could not be written.
    bool writeString(const char* section, const char* key, const std::string& value) const;
    bool writeInt(const char* section, const char* key, int value) const;
    bool writeFloat(const char* section, const char* key, float value) const;

  private:
    std::string path_;
};
