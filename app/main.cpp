// VeskApp: the game program.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/qt/CAppSession.h"
#include "net/ConsoleNetUi.h"
#include "net/ui/NetDialogs.h"
#include "platform/Trace.h"
#include "platform/qt/PumpMessages.h"
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
    // The network library's own lines (the dealer's figures) follow the switch too.
    if (options.trace) setenv("VESK_TRACE", "1", 1);
    Trace("start");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vesk");
    QApplication::setApplicationVersion(VESK_VERSION);
    InstallTranslations(QLocale::system(), TranslationDirs());
    // Nobody sees a window when the program runs headless, and a script that
    // chose the table waits for the program rather than for a click: then the
    // library's messages go to standard error and its dialogs count as cancelled.
    const bool console =
        QGuiApplication::platformName() == QLatin1String("offscreen") || options.connType >= 0;
    CConsoleNetUi consoleUi([] { PumpMessages(); });
    if (console)
        SetNetUi(&consoleUi);
    else
        InstallNetDialogs();
    int code = 0;
    {
        CAppSession session(options);
        if (session.Start()) code = QApplication::exec();
        // A failure the session noted (a scripted save) turns a normal end into 1.
        if (code == 0) code = session.ExitCode();
    }
    if (console)
        SetNetUi(nullptr);
    else
        RemoveNetDialogs();
    return code;
}
