// The six 16-pixel images of the Select Computer tree, drawn in code:
// 0 a computer, 1 networked computers, 2 a seated player, 3 an empty card
// table, 4 a player without a seat, 5 a card table with players.
#pragma once

#include <QIcon>
#include <QPixmap>

class CGameTreeImages {
public:
    enum Image {
        Computer = 0,
        Network = 1,
        SeatedPlayer = 2,
        EmptyTable = 3,
        StandingPlayer = 4,
        BusyTable = 5,
        Count = 6
    };

    static constexpr int kSize = 16;

    // One image, kSize x kSize, transparent where it is not drawn.
    static QPixmap Pixmap(int image);
    static QIcon Icon(int image);
};
