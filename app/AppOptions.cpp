#include "app/AppOptions.h"

#include <cmath>
#include <cstdlib>

namespace {

bool ParsePace(const std::string& text, double* pace) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != 0 || !std::isfinite(value) || value < 0 || value > 10)
        return false;
    *pace = value;
    return true;
}

} // namespace

AppOptions ParseAppOptions(const std::vector<std::string>& args) {
    AppOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--pace" || a.rfind("--pace=", 0) == 0) {
            std::string value;
            if (a == "--pace") {
                if (i + 1 >= args.size()) {
                    o.error = "--pace needs a value";
                    return o;
                }
                value = args[++i];
            } else {
                value = a.substr(7);
            }
            if (!ParsePace(value, &o.pace)) {
                o.error = "--pace takes a number from 0 to 10: " + value;
                return o;
            }
        } else {
            o.error = "unknown option: " + a;
            return o;
        }
    }
    return o;
}

std::string AppUsage() {
    return "Usage: VeskApp [options]\n"
           "Vesk, a card game for four players in two partnerships on a local network.\n"
           "\n"
           "Options:\n"
           "  --pace F     scale the game's pauses (0 none, 1 normal; at most 10)\n"
           "  --version    print the version and exit\n"
           "  -h, --help   print this help and exit\n";
}
