#include "tests/display/DisplayFixture.h"

#include "display/DisplayPace.h"
#include "net/UsersList.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

#include <QDir>
#include <cstdio>
#include <cstring>

namespace {
const QRgb kGreen = qRgb(0, 128, 0);
} // namespace

QString DisplayOutputDir() {
    const QString dir = QStringLiteral(VESK_DISPLAY_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

void DisplayTable::SetUp() {
    ResetGameStateForStart();
    CDisplayPace::SetFactor(1.0);
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    conn.m_nUserId = 0;
    g_pConn = &conn;
    static const char* const kNames[4] = {"Ana", "Boris", "Cleo", "Dusan"};
    for (int id = 0; id < 4; ++id) {
        USERINFO& u = g_UsersList[id];
        std::snprintf(u.name, sizeof u.name, "%s", kNames[id]);
        u.state = static_cast<uint16_t>((id + 1) | 0x8000);
        u.owner = static_cast<uint16_t>(id);
        u.aux = 0xFFFF;
    }
    RebuildSeating();
    g_bSeated = 1;

    view = std::make_unique<CTablePicture>();
    view->Create(kWidth, kHeight);
    view->SetPumpHook([this] {
        ++pumps;
        if (onPump) onPump();
    });
    view->SetPauseHook([this](int ms) { pauses.push_back(ms); });
    g_pView = view.get();

    g_pDeck = new CCardPile(32);
    for (auto& hand : g_pHand)
        hand = new CPlayerHand(kNoUser, 8);
    g_pTable = new CTrickPile(4, 8);
    ResetGame();
}

void DisplayTable::TearDown() {
    DeleteGameObjects();
    view.reset();
    g_pView = nullptr;
    g_pConn = nullptr;
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    ResetGameStateForStart();
    CDisplayPace::SetFactor(1.0);
}

void DisplayTable::Give(int place, std::initializer_list<int> codes) {
    for (int code : codes) {
        const int slot = g_pDeck->FindSlot(code);
        ASSERT_GE(slot, 0) << code;
        ASSERT_EQ(g_pDeck->m_slots[slot].state, kSlotHeld) << "card dealt twice: " << code;
        uint8_t list[2] = {static_cast<uint8_t>(slot + 1), 0};
        g_pHand[place]->TakeListed(g_pDeck, list);
    }
}

void DisplayTable::Play(int leader, std::initializer_list<int> codes) {
    int place = leader;
    for (int code : codes) {
        ASSERT_GE(g_pHand[place]->FindSlot(code), 0) << "place " << place << " card " << code;
        g_pTable->PlayCard(place, code);
        place = NextPlace(place);
    }
}

bool DisplayTable::AllTable(const QRect& r) const {
    return NonTableBox(view->Picture().copy(r.intersected(view->Picture().rect()))).isEmpty();
}

QRect DisplayTable::NonTableBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (kGreen & 0xFFFFFF))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}
