// Writes the window's icon as the PNG file the desktop entry shows, so both are one picture.
#include "ui/view/app_icon.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: export-icon FILE.png\n");
        return 2;
    }
    return dornal::view::windowIconImage().save(argv[1], "PNG") ? 0 : 1;
}
