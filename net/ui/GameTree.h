// The game list of the Select Computer dialog on its tree control. The listing
// rules (the roots "Waiting Games" and "Active Games", dealers moving between
// them, answers of a dealer already listed, the first answer) live in the
// library's CGameListModel; this class mirrors the model's changes into the
// widget items, each dealer with its users under it.
#pragma once

#include <QString>
#include <cstdint>

#include "net/CGameListModel.h"
#include "net/NetUi.h"

class QTreeWidget;
class QTreeWidgetItem;

class CGameTree {
public:
    // Fills `tree` with the two roots; the tree must be empty.
    explicit CGameTree(QTreeWidget* tree);

    // Answers count from Open() until Close(). Thread-safe.
    void Open();
    void Close();
    bool IsOpen() const;

    // Tree's thread: lists one dealer's answer (ignored unless open). True
    // when this was the first answer listed since Open(): the dialog then
    // puts the host name into its edit box.
    bool Add(const DiscoveryAnswer& answer);

    // A dealer item whose text is exactly `text`, looked for under "Waiting
    // Games" first, then under "Active Games".
    bool FindDealer(const QString& text, uint32_t& address) const;

    // The text of the dealer item that lists `answer`.
    static QString HostText(const DiscoveryAnswer& answer);

    // The address of a dealer item; 0 for the roots and the user items.
    static uint32_t ItemAddress(const QTreeWidgetItem* item);

    QTreeWidgetItem* WaitingRoot() const { return m_roots[CGameListModel::kWaitingRoot]; }
    QTreeWidgetItem* ActiveRoot() const { return m_roots[CGameListModel::kActiveRoot]; }

private:
    QTreeWidget* m_tree;
    QTreeWidgetItem* m_roots[2];
    CGameListModel m_model;
};
