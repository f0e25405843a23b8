// The AutoPartner menu: one item per seat 1..4, each seating or unseating this
// program's computer partner at that seat through the library's commands, and
// the check item that chooses the fair computer player.
#pragma once

#include "ai/ICommandSender.h"

class CAutoPartnerMenu {
public:
    static constexpr int kSeats = 4;
    static constexpr int16_t kAddCommand = 18;    // the library's add-computer-partner command
    static constexpr int16_t kDeleteCommand = 19; // and its remove command

    explicit CAutoPartnerMenu(ICommandSender& sender) : m_sender(sender) {}

    // The item's title with its mnemonic letter ("&Ivla", "&Medra", "&Tesiva", "&Olvessa");
    // empty outside 1..4.
    static const char* Title(int seat);
    // The partner's name without the mnemonic marker.
    static const char* Name(int seat);

    // Choosing the item: removes this program's partner at the seat when it has
    // one there, else adds one; flips the item's flag. Nothing outside 1..4.
    void Choose(int seat);
    // Enabled when the seat is free or this program's partner sits there.
    bool IsEnabled(int seat, bool seatFree) const;
    bool IsChecked(int seat) const;

    // "Fair Partners": this program's computer partners and AutoPlay play and
    // bid knowing only what their seat knows (CComputerPlayer::SetFair).
    static constexpr const char* kFairTitle = "&Fair Partners";
    static void ChooseFair();
    static bool IsFairChecked();

private:
    ICommandSender& m_sender;
    bool m_seated[kSeats] = {false, false, false, false};
};
