#include "app/CFeedbackMail.h"

bool CFeedbackMail::Send() const {
    return m_opener && m_opener(Url());
}

std::string CFeedbackMail::Url() {
    return std::string("mailto:") + kFeedbackAddress +
           "?subject=" + PercentEncode(kFeedbackSubject) + "&body=" + PercentEncode(kFeedbackText);
}

std::string CFeedbackMail::PercentEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                                (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' ||
                                b == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}
