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

bool ParseInt(const std::string& text, int low, int high, int* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != 0 || value < low || value > high) return false;
    *out = static_cast<int>(value);
    return true;
}

// "--opt value" or "--opt=value": true when `a` is the option; the value goes to `value`,
// or `error` says it is missing.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& opt,
               std::string* value, std::string* error) {
    const std::string& a = args[i];
    if (a == opt) {
        if (i + 1 >= args.size()) {
            *error = opt + " needs a value";
            return true;
        }
        *value = args[++i];
        return true;
    }
    if (a.rfind(opt + "=", 0) == 0) {
        *value = a.substr(opt.size() + 1);
        return true;
    }
    return false;
}

} // namespace

AppOptions ParseAppOptions(const std::vector<std::string>& args) {
    AppOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--deal") {
            o.connType = 1;
        } else if (a == "--start") {
            o.start = true;
        } else if (a == "--autoplay") {
            o.autoplay = true;
        } else if (a == "--fair") {
            o.fair = true;
        } else if (a == "--exit-after-game") {
            o.exitAfterGame = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--save-after-cards") {
            if (i + 2 >= args.size()) {
                o.error = "--save-after-cards needs a card count and a file";
                return o;
            }
            if (!ParseInt(args[i + 1], 1, 100000, &o.saveAfterCards)) {
                o.error = "--save-after-cards takes a count from 1 to 100000: " + args[i + 1];
                return o;
            }
            o.saveFile = args[i + 2];
            i += 2;
            if (o.saveFile.empty()) {
                o.error = "--save-after-cards needs a file";
                return o;
            }
        } else if (TakeValue(args, i, "--load", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (value.empty()) {
                o.error = "--load needs a file";
                return o;
            }
            if (!o.loadFile.empty()) {
                o.error = "only one saved game can be loaded: " + value;
                return o;
            }
            o.loadFile = value;
        } else if (TakeValue(args, i, "--pace", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (!ParsePace(value, &o.pace)) {
                o.error = "--pace takes a number from 0 to 10: " + value;
                return o;
            }
        } else if (TakeValue(args, i, "--name", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (value.empty()) {
                o.error = "--name needs a name";
                return o;
            }
            o.name = value;
        } else if (TakeValue(args, i, "--join", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (value.empty()) {
                o.error = "--join needs the dealer's address";
                return o;
            }
            o.connType = 0;
            o.joinHost = value;
        } else if (TakeValue(args, i, "--port", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (!ParseInt(value, 1, 65534, &o.port)) {
                o.error = "--port takes a number from 1 to 65534: " + value;
                return o;
            }
        } else if (TakeValue(args, i, "--seat", &value, &o.error)) {
            if (!o.error.empty()) return o;
            if (!ParseInt(value, 1, 4, &o.seat)) {
                o.error = "--seat takes a seat from 1 to 4: " + value;
                return o;
            }
        } else if (TakeValue(args, i, "--partner", &value, &o.error)) {
            if (!o.error.empty()) return o;
            int seat = 0;
            if (!ParseInt(value, 1, 4, &seat)) {
                o.error = "--partner takes a seat from 1 to 4: " + value;
                return o;
            }
            o.partners.push_back(seat);
        } else if (!a.empty() && a[0] != '-') {
            // A saved game opened from the desktop (the entry's %f): as --load.
            if (!o.loadFile.empty()) {
                o.error = "only one saved game can be loaded: " + a;
                return o;
            }
            o.loadFile = a;
        } else {
            o.error = "unknown option: " + a;
            return o;
        }
    }
    if (o.start && o.seat == 0) o.error = "--start needs --seat";
    return o;
}

std::string AppUsage() {
    return "Usage: VeskApp [options] [FILE]\n"
           "Vesk, a card game for four players in two partnerships on a local network.\n"
           "\n"
           "Options:\n"
           "  --name NAME        play under this name (no welcome dialog)\n"
           "  --deal             be the dealer of a new table\n"
           "  --join HOST        join the dealer at HOST\n"
           "  --port N           the dealer's TCP port (discovery uses N+1)\n"
           "  --seat K           take seat K (1..4)\n"
           "  --start            start at the taken seat\n"
           "  --partner K        seat a computer partner at seat K (repeatable)\n"
           "  --autoplay         let the computer play the own seat\n"
           "  --fair             computer partners and AutoPlay know only their own seat\n"
           "  --pace F           scale the game's pauses (0 none, 1 normal; at most 10)\n"
           "  --exit-after-game  print the score sheet and exit when the game is over\n"
           "  --trace            print progress lines (deals, cards, game end) on stderr\n"
           "  --load FILE        load a saved game at start (it resumes once four seats start)\n"
           "  FILE               the same as --load FILE\n"
           "  --save-after-cards N FILE\n"
           "                     save the game to FILE once N cards have been played\n"
           "  --version          print the version and exit\n"
           "  -h, --help         print this help and exit\n"
           "\n"
           "Exit status: 0 done, 1 failed at run time (no table reached, a failed\n"
           "scripted save), 2 bad command line.\n";
}
