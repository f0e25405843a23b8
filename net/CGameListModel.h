// The games that the Select Computer dialog lists, kept apart from any widget
// so that the listing rules can be checked without a screen.
//
// The tree has two roots, "Waiting Games" and "Active Games". Under them stands
// one dealer item per dealer computer (text = its host name, at most 40
// characters; data = its IPv4 address in network order), and under each dealer
// one item per user (text = name; image "seated" or "no seat").
//
// How a view uses it:
//   - when the dialog opens, call Open(); when it closes, Close();
//   - hand every DiscoveryAnswer to Add() (any thread; the model locks itself);
//     the returned Change says what to do to the widget tree:
//       Ignored - nothing (dialog closed, or the dealer already stands under
//                 the root that matches its active flag);
//       Added   - insert dealer item `dealer` at the end of root `root` (its
//                 position there is `index`), with its users as children;
//                 when `movedFrom` is set, first delete the item at position
//                 `fromIndex` under root `fromRoot`; when `expandRoot` is set,
//                 expand the root (it had no children before); leave the dealer
//                 item collapsed with its expand button shown;
//                 when `firstAnswer` is set, put `dealer.host` in the Computer edit box;
//   - FindByHost() looks up a typed text among the dealer items, "Waiting
//     Games" first, exactly as the OK button needs it;
//   - Dealers() gives a copy of the items under one root, in order.
// Images (index into the dialog's six-image strip) are given by the constants below.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "net/NetUi.h"
#include "net/VeskDllApi.h"

class VESKDLL_API CGameListModel {
public:
    enum Root { kWaitingRoot = 0, kActiveRoot = 1 };
    enum Image {
        kImageComputer = 0,
        kImageNetwork = 1,      // the two roots
        kImageSeated = 2,       // a user with a seat
        kImageWaitingTable = 3, // a dealer under "Waiting Games"
        kImageNoSeat = 4,       // a user without a seat
        kImageActiveTable = 5,  // a dealer under "Active Games"
    };
    struct User {
        std::string name;
        bool seated = false;
        int ImageIndex() const { return seated ? kImageSeated : kImageNoSeat; }
    };
    struct Dealer {
        uint32_t address = 0;
        std::string host;
        std::vector<User> users;
    };
    struct Change {
        enum Kind { Ignored, Added } kind = Ignored;
        Root root = kWaitingRoot;
        int index = -1;
        Dealer dealer;
        bool movedFrom = false;
        Root fromRoot = kWaitingRoot;
        int fromIndex = -1;
        bool expandRoot = false;
        bool firstAnswer = false;
    };

    static const char* RootText(Root root);
    static int RootImage() { return kImageNetwork; }
    static int DealerImage(Root root) {
        return root == kActiveRoot ? kImageActiveTable : kImageWaitingTable;
    }

    void Open();
    void Close();
    bool IsOpen() const;
    Change Add(const DiscoveryAnswer& answer);
    std::vector<Dealer> Dealers(Root root) const;
    bool FindByHost(const std::string& text, uint32_t& address) const;

    static constexpr size_t kMaxHostText = 40;

private:
    mutable std::mutex m_mutex;
    bool m_open = false;
    bool m_firstAnswer = false;
    std::vector<Dealer> m_roots[2];
};
