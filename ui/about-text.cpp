#include "ui/about-text.h"

#include "tavrel-version.h"

std::string aboutText() {
    return "Tavrel " TAVREL_VERSION_TEXT "\n\n"
           "An editor of surface models made of bicubic Bézier patches, which it can also fly "
           "as a ship around a planet.\n\n"
           "The planet's picture is the Earth map of Debian's xplanet-images package (GPL-2+), "
           "from NASA's Visible Earth, whose images are \"generally not copyrighted\".";
}
