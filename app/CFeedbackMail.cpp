#include "app/CFeedbackMail.h"

#include <sys/stat.h>
#include <unistd.h>

CFeedbackMail::CFeedbackMail(std::string searchPath, Launcher launcher, ExecutableTest isExecutable)
    : m_launcher(std::move(launcher)),
      m_program(FindProgram(kFeedbackProgram, searchPath, isExecutable)) {}

bool CFeedbackMail::Send() const {
    if (!Available() || !m_launcher) return false;
    return m_launcher(m_program, Arguments());
}

std::vector<std::string> CFeedbackMail::Arguments() {
    return {"--subject", kFeedbackSubject, "--body", kFeedbackText, Recipient()};
}

std::string CFeedbackMail::Recipient() {
    return std::string(kFeedbackName) + " <" + kFeedbackAddress + ">";
}

std::string CFeedbackMail::FindProgram(const std::string& name, const std::string& searchPath,
                                       const ExecutableTest& isExecutable) {
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        // An empty entry means the current folder in a shell; a program that
        // opens mail never looks there.
        if (end > start) {
            std::string dir = searchPath.substr(start, end - start);
            if (dir.back() != '/') dir += '/';
            const std::string path = dir + name;
            if (isExecutable && isExecutable(path)) return path;
        }
        start = end + 1;
    }
    return {};
}

bool CFeedbackMail::IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}
