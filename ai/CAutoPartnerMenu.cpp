#include "ai/CAutoPartnerMenu.h"

#include "ai/CComputerPlayer.h"

#include <string>

namespace {

const char* const kTitles[CAutoPartnerMenu::kSeats] = {"&Ivla", "&Medra", "&Tesiva", "&Olvessa"};

bool ValidSeat(int seat) {
    return seat >= 1 && seat <= CAutoPartnerMenu::kSeats;
}

} // namespace

const char* CAutoPartnerMenu::Title(int seat) {
    return ValidSeat(seat) ? kTitles[seat - 1] : "";
}

const char* CAutoPartnerMenu::Name(int seat) {
    return ValidSeat(seat) ? kTitles[seat - 1] + 1 : "";
}

void CAutoPartnerMenu::Choose(int seat) {
    if (!ValidSeat(seat)) return;
    bool& seated = m_seated[seat - 1];
    const std::string text(1, static_cast<char>(seat));
    m_sender.SendCommand(seated ? kDeleteCommand : kAddCommand, text, -1);
    seated = !seated;
}

bool CAutoPartnerMenu::IsEnabled(int seat, bool seatFree) const {
    return ValidSeat(seat) && (seatFree || m_seated[seat - 1]);
}

bool CAutoPartnerMenu::IsChecked(int seat) const {
    return ValidSeat(seat) && m_seated[seat - 1];
}

void CAutoPartnerMenu::ChooseFair() {
    CComputerPlayer::SetFair(!CComputerPlayer::Fair());
}

bool CAutoPartnerMenu::IsFairChecked() {
    return CComputerPlayer::Fair();
}
