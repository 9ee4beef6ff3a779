// The server browser: every server the masters know, its status, a filter, and a way in.
#pragma once

#include "query/serversweep.h"
#include "servers/masterquery.h"

#include <QStringList>
#include <QWidget>

class Dialogs;
class MasterClient;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class QTreeWidget;
class ServerFilter;
class ServerListModel;
struct FoundServer;

// What the browser is given: where to ask and how long to wait, and where it keeps its files.
struct FindServersOptions
{
    QStringList masters; // "host" or "host:port"
    int gameProtocol = 1;
    MasterBounds masterBounds;
    SweepBounds sweepBounds;
    QString cachePath;    // the last list
    QString geometryPath; // the window's place and size
};

// A window of its own beside the main window, which stays usable. The masters give the list of
// one game version (the "Game version" drop-down), ServerSweep fills in each server's status,
// ServerListModel holds the rows and ServerFilter picks and orders them. The window only asks
// for what the main window does: a new bookmark, or a join.
class FindServers final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindServers)

public:
    FindServers(Dialogs &dialogs, FindServersOptions options, QWidget *parent = nullptr);
    ~FindServers() override;

    // Shows the window in front; the first time, with the cached list, and asks the masters.
    void open();
    int gameProtocol() const;

signals:
    void addBookmarkRequested(const QString &name, const QString &address);
    void joinRequested(const QString &name, const QString &address, const QString &password);
    void gameProtocolChanged(int protocol);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void wireEvents();
    void restoreGeometry();
    void loadCache();
    void saveCache() const;
    void saveGeometryAndList() const;
    void fetch(bool refresh);
    void versionChosen();
    void listed(const QList<struct ServerAddress> &servers);
    void mastersFinished(bool asked);
    void masterEnded(const QString &master, const MasterOutcome &outcome);
    void showProgress();
    void applyFilter();
    void showPlayers();
    std::optional<int> selectedRow() const;
    void addSelectedToBookmarks();
    void joinSelected();
    bool confirmVersion(const FoundServer &server);

    Dialogs &m_dialogs;
    const FindServersOptions m_options;
    ServerListModel *const m_servers;
    ServerFilter *const m_filter;
    MasterClient *const m_masters;
    ServerSweep *const m_sweep;
    QTimer *const m_progressTimer;
    QStringList m_failures; // "master: no answer", in this fetch
    int m_mastersListed = 0;
    int m_listProtocol = 0; // the game version the rows belong to
    bool m_opened = false;

    QLineEdit *m_filterText = nullptr;
    QCheckBox *m_hideEmpty = nullptr;
    QCheckBox *m_hideFull = nullptr;
    QCheckBox *m_hideLocked = nullptr;
    QCheckBox *m_onlyMyVersion = nullptr;
    QComboBox *m_version = nullptr;
    QTableView *m_table = nullptr;
    QTreeWidget *m_players = nullptr;
    QLabel *m_progress = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_addBookmark = nullptr;
    QPushButton *m_join = nullptr;
};
