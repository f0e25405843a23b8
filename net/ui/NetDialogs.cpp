#include "net/ui/NetDialogs.h"

#include "net/NetUi.h"
#include "net/ui/QtNetUi.h"

namespace {

CQtNetUi& TheNetUi() {
    static CQtNetUi ui;
    return ui;
}

} // namespace

void InstallNetDialogs() {
    SetNetUi(&TheNetUi());
}

void RemoveNetDialogs() {
    if (GetNetUi() == &TheNetUi()) SetNetUi(nullptr);
}
