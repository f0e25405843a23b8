// VeskApp: the game program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppOptions.h"

#ifndef VESK_VERSION
#define VESK_VERSION "0.0.0"
#endif

int main(int argc, char** argv) {
    const AppOptions options = ParseAppOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::fprintf(stderr, "VeskApp: %s\n%s", options.error.c_str(), AppUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(AppUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("VeskApp %s\n", VESK_VERSION);
        return 0;
    }
    // The main window, the table view and the dialogs come with the program's windows.
    std::fputs("VeskApp: the table window is not part of this build yet.\n", stderr);
    return 1;
}
