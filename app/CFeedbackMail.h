// The feedback mail of the About dialog: a message to the program's author, as
// a mailto: URL that the desktop hands to the user's mail client. The opener is
// given by the caller, so that the composed URL can be checked without
// starting a mail client.
#pragma once

#include <functional>
#include <string>

#include "platform/TextMark.h"

constexpr const char* kFeedbackSubject = "Sent From VeskApp.exe sernum(1009)";
constexpr const char* kFeedbackText = "Dear Medra,\n";
constexpr const char* kFeedbackAddress = "vesk-feedback@users.noreply.github.com";
constexpr const char* kFeedbackError =
    VESK_TRANSLATE_NOOP("Vesk", "An error occurred trying to send the message.");

class CFeedbackMail {
public:
    // Opens `url` in the desktop's handler for it; false when nothing took it.
    using Opener = std::function<bool(const std::string& url)>;

    explicit CFeedbackMail(Opener opener) : m_opener(std::move(opener)) {}

    // True when there is a way to hand the message over.
    bool Available() const { return static_cast<bool>(m_opener); }
    // Opens the mail client with the message; false when it could not be opened.
    bool Send() const;

    // "mailto:<address>?subject=...&body=...", the texts percent-encoded.
    static std::string Url();
    // Every byte outside RFC 3986's unreserved characters as %XX (UTF-8 bytes
    // of the text, upper-case hex), as a mailto: header value needs.
    static std::string PercentEncode(const std::string& text);

private:
    Opener m_opener;
};
