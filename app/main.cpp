// VeskApp: the game program.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/qt/CAppSession.h"
#include "net/ui/NetDialogs.h"
#include "platform/Trace.h"
#include "platform/qt/Translations.h"

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

    SetTraceEnabled(options.trace);
    Trace("start");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vesk");
    QApplication::setApplicationVersion(VESK_VERSION);
    InstallTranslations(QLocale::system(), TranslationDirs());
    InstallNetDialogs();
    int code = 0;
    {
        CAppSession session(options);
        if (session.Start())
            code = QApplication::exec();
        else
            code = session.ExitCode();
    }
    RemoveNetDialogs();
    return code;
}
