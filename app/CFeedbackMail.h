// The feedback mail of the About dialog: a message to the program's author,
// composed in the desktop's mail client through `xdg-email`. The search path and
// the launcher are given by the caller, so that the availability and the
// composed command can be checked without starting a mail client.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/TextMark.h"

constexpr const char* kFeedbackSubject = "Sent From VeskApp.exe sernum(1009)";
constexpr const char* kFeedbackText = "Dear Medra,\n";
constexpr const char* kFeedbackName = "Vesk feedback";
constexpr const char* kFeedbackAddress = "vesk-feedback@users.noreply.github.com";
constexpr const char* kFeedbackProgram = "xdg-email";
constexpr const char* kFeedbackError =
    VESK_TRANSLATE_NOOP("Vesk", "An error occurred trying to send the message.");

class CFeedbackMail {
public:
    // Starts `program` with `arguments` without waiting for it; false when it could not start.
    using Launcher =
        std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;
    using ExecutableTest = std::function<bool(const std::string& path)>;

    // `searchPath` is a PATH-style list of folders.
    CFeedbackMail(std::string searchPath, Launcher launcher,
                  ExecutableTest isExecutable = IsExecutableFile);

    // True when a mail client can be started (the composer was found).
    bool Available() const { return !m_program.empty(); }
    // The composer's full path, empty when none was found.
    const std::string& Program() const { return m_program; }
    // Opens the mail client with the message; false when it is not available or did not start.
    bool Send() const;

    // The composer's arguments: subject, text and the recipient.
    static std::vector<std::string> Arguments();
    // "Vesk feedback <address>".
    static std::string Recipient();
    // The first folder of `searchPath` holding an executable `name`; empty when none.
    static std::string FindProgram(const std::string& name, const std::string& searchPath,
                                   const ExecutableTest& isExecutable);
    // A regular file that this user may execute.
    static bool IsExecutableFile(const std::string& path);

private:
    Launcher m_launcher;
    std::string m_program;
};
