#include "editor/menu-mnemonics.h"

#include <array>
#include <cctype>

namespace {

bool isLetter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::vector<int> mnemonicPlaces(const std::vector<std::string>& names) {
    std::array<bool, 256> taken{};
    std::vector<int> places;
    for (const std::string& name : names) {
        const auto free = [&](size_t i) {
            return isLetter(name[i]) && !taken[static_cast<unsigned char>(
                                            std::tolower(static_cast<unsigned char>(name[i])))];
        };
        int place = -1;
        for (size_t i = 0; i < name.size() && place < 0; ++i)
            if ((i == 0 || name[i - 1] == ' ') && free(i)) place = static_cast<int>(i);
        for (size_t i = 0; i < name.size() && place < 0; ++i)
            if (free(i)) place = static_cast<int>(i);
        if (place >= 0)
            taken[static_cast<unsigned char>(
                std::tolower(static_cast<unsigned char>(name[static_cast<size_t>(place)])))] = true;
        places.push_back(place);
    }
    return places;
}

std::string withMnemonic(const std::string& name, int place) {
    std::string text;
    for (size_t i = 0; i < name.size(); ++i) {
        if (static_cast<int>(i) == place) text += '&';
        if (name[i] == '&') text += '&';
        text += name[i];
    }
    return text;
}
