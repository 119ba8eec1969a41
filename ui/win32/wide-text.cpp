#include "ui/win32/wide-text.h"

#include <windows.h>

namespace {

std::wstring wideFrom(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
    return wide;
}

} // namespace

std::wstring wideFromUtf8(const std::string& text) {
    return wideFrom(CP_UTF8, text);
}

std::wstring wideFromAnsi(const std::string& text) {
    return wideFrom(CP_ACP, text);
}

namespace {

std::string narrowFrom(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

} // namespace

std::string utf8FromWide(const std::wstring& text) {
    return narrowFrom(CP_UTF8, text);
}

std::string ansiFromWide(const std::wstring& text) {
    return narrowFrom(CP_ACP, text);
}
