// The Select Computer dialog: lists the dealers that answer our discovery
// requests and lets the player pick one, or type a computer's name or address.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/NetUi.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class CGameTree;

class CSelectComputerDlg : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(CSelectComputerDlg)

public:
    using Broadcast = std::function<void()>;
    // Resolves a host name or dotted address to an IPv4 address in network order.
    using Resolver = std::function<bool(const std::string& host, uint32_t& address)>;

    static constexpr int kBroadcastMs = 1000;

    // `broadcast` sends one discovery request; it is called when the dialog
    // opens and then once a second while it is open.
    explicit CSelectComputerDlg(Broadcast broadcast, QWidget* parent = nullptr);
    ~CSelectComputerDlg() override;

    // Any thread: hands an answer to the dialog's thread. Ignored unless the
    // dialog is open (from its showing until it is closed).
    void PostAnswer(const DiscoveryAnswer& answer);
    // Dialog's thread: lists the answer (ignored unless open).
    void AddAnswer(const DiscoveryAnswer& answer);

    bool IsOpen() const;
    // The chosen dealer's address, network order; 0 until one is chosen.
    uint32_t Address() const { return m_address; }

    void SetResolver(Resolver resolver) { m_resolve = std::move(resolver); }
    // How often the dialog has refused input with a beep.
    int Beeps() const { return m_beeps; }

    QLineEdit* ComputerEdit() const { return m_edit; }
    QTreeWidget* Tree() const { return m_tree; }
    CGameTree& Games() const { return *m_games; }

    // getaddrinfo over IPv4: the host's first address.
    static bool ResolveHost(const std::string& host, uint32_t& address);

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void OnCurrentItemChanged(QTreeWidgetItem* item);
    void Beep();
    void Close();

    Broadcast m_broadcast;
    Resolver m_resolve;
    QLabel* m_label;
    QLineEdit* m_edit;
    QTreeWidget* m_tree;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::unique_ptr<CGameTree> m_games;
    QTimer m_timer;
    bool m_opened = false;
    uint32_t m_address = 0;
    QString m_selectedText;
    int m_beeps = 0;
};
