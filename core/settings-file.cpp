#include "core/settings-file.h"

#include "core/file-replace.h"
#include "core/listed-number.h"
#include "core/native-path.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool sameName(const std::string& a, const char* b) {
    size_t n = std::char_traits<char>::length(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) return lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "[name]" → name, or false when the line is not a section header.
bool sectionName(const std::string& line, std::string* name) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    *name = trim(t.substr(1, close - 1));
    return true;
}

// "key=value" → key and value, or false when the line holds no '='.
bool keyValue(const std::string& line, std::string* key, std::string* value) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    *key = trim(line.substr(0, eq));
    *value = trim(line.substr(eq + 1));
    return true;
}

bool findValue(const std::string& path, const char* section, const char* key, std::string* out) {
    bool inSection = false;
    for (const std::string& line : readLines(path)) {
        std::string name, k, v;
        if (sectionName(line, &name)) {
            inSection = sameName(name, section);
        } else if (inSection && keyValue(line, &k, &v) && sameName(k, key)) {
            *out = v;
            return true;
        }
    }
    return false;
}

} // namespace

int SettingsFile::readInt(const char* section, const char* key, int def) const {
    std::string value;
    if (!findValue(path_, section, key, &value)) return def;
    const char* p = value.c_str();
    int sign = 1;
    if (*p == '-' || *p == '+') sign = *p++ == '-' ? -1 : 1;
    // Accumulate in 64 bits and wrap to 32 as the profile functions do for huge values.
    unsigned long long n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)))
        n = n * 10 + static_cast<unsigned>(*p++ - '0');
    return static_cast<int>(static_cast<unsigned int>(sign < 0 ? 0ull - n : n));
}

std::string SettingsFile::readString(const char* section, const char* key, const char* def,
                                     size_t bufferSize) const {
    std::string value;
    if (!findValue(path_, section, key, &value)) value = def;
    if (bufferSize == 0) return {};
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

bool SettingsFile::contains(const char* section, const char* key) const {
    std::string value;
    return findValue(path_, section, key, &value);
}

float SettingsFile::readFloat(const char* section, const char* key) const {
    std::string text = readString(section, key, "0", 40);
    float f = 0;
    if (std::sscanf(text.c_str(), "%f", &f) != 1) f = 0;
    return f;
}

bool SettingsFile::writeString(const char* section, const char* key,
                               const std::string& value) const {
    std::vector<std::string> lines = readLines(path_);
    const std::string entry = std::string(key) + "=" + value;
    // Find the section, the key inside it, and the section's last non-blank line.
    long sectionLine = -1, keyLine = -1, lastInSection = -1;
    std::string storedKey = key;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name, k, v;
        if (sectionName(lines[i], &name)) {
            if (inSection) inSection = false;
            if (sectionLine < 0 && sameName(name, section)) {
                inSection = true;
                sectionLine = lastInSection = static_cast<long>(i);
            }
            continue;
        }
        if (!inSection) continue;
        if (!trim(lines[i]).empty()) lastInSection = static_cast<long>(i);
        if (keyLine < 0 && keyValue(lines[i], &k, &v) && sameName(k, key)) {
            keyLine = static_cast<long>(i);
            storedKey = k; // an existing key keeps its spelling
        }
    }
    if (keyLine >= 0) {
        lines[keyLine] = storedKey + "=" + value;
    } else if (sectionLine >= 0) {
        lines.insert(lines.begin() + lastInSection + 1, entry);
    } else {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.push_back("");
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
    }
    std::string content;
    for (const std::string& line : lines)
        content += line + "\r\n";
    return replaceFileContents(path_, content);
}

bool SettingsFile::writeInt(const char* section, const char* key, int value) const {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return writeString(section, key, buffer);
}

bool SettingsFile::writeFloat(const char* section, const char* key, float value) const {
    return writeString(section, key, listedNumber(value).c_str());
}
