// SPDX-License-Identifier: GPL-3.0-or-later
// Stress checks of what must never be lost or pile up: bookmark commands on a nearly full disk, an
// editor that rewrites the settings file in place while the user saves, and a game that writes
// without end. Prints the figures and ends with status 1 when a goal is missed. The disk check
// mounts small memory disks, which needs root on Linux; elsewhere it is skipped.
#include "app/brinemoor.h"
#include "bookmarks/bookmarkmodel.h"
#include "storage/keyvaluestore.h"
#include "storage/plainini.h"
#include "fakepinger.h"
#include "platform/notifier.h"
#include "platform/processgamestarter.h"
#include "platform/services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <sys/statvfs.h>
#endif

using namespace std::chrono_literals;

namespace {

constexpr qint64 kPage = 4096;

// Answers every box with OK and counts them; the game path is stored before the window starts.
class CountingDialogs final : public Dialogs
{
public:
    void setParentWindow(QWidget *) override { }
    Answer message(const QString &text, Buttons, Icon) override
    {
        shown.append(text);
        return Answer::Ok;
    }
    CheckedAnswer messageWithCheckBox(const QString &text, Buttons, Icon, const QString &) override
    {
        shown.append(text);
        return {Answer::Cancel, false};
    }
    FileChoice openFile(const FileDialogPreset &) override
    {
        return {FileChoice::Outcome::Cancelled, {}};
    }
    std::optional<QString> password(const QString &) override { return std::nullopt; }
    std::optional<int> number(const QString &, int) override { return std::nullopt; }

    QStringList shown;
};

// A window on the settings file `path`, with a game path stored and `bookmarks` named B00, B01...
struct Window
{
    Window(const QString &path, int bookmarks)
        : store(openIniStore(path))
    {
        const QString game = QFileInfo(path).absolutePath() + QStringLiteral("/CoDMP.exe");
        QFile(game).open(QIODevice::WriteOnly);
        store->write(QStringLiteral("settings"), QStringLiteral("codpath"), game);
        for (int i = 0; i < bookmarks; ++i)
            store->write(QStringLiteral("B%1").arg(i, 2, 10, QChar(u'0')), QStringLiteral("ip"),
                         QStringLiteral("127.0.0.%1:28960").arg(i + 2));
        window = std::make_unique<Brinemoor>(services, *store, StartOptions{});
        window->start();
    }

    template<typename T>
    T *find(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QStringList rows()
    {
        QStringList texts;
        const auto *bookmarks = find<QAbstractItemModel>("bookmarks");
        for (int i = 0; i < bookmarks->rowCount(); ++i) {
            const QModelIndex row = bookmarks->index(i, 0);
            texts.append(row.data().toString() + u'|'
                         + row.data(roleId(BookmarkRole::Address)).toString());
        }
        return texts;
    }
    // New, the row of `selected` (if any) chosen without starting its query, the fields typed.
    void edit(const QString &selected, const QString &name, const QString &address)
    {
        find<QAction>("menu_new")->trigger();
        if (!selected.isEmpty()) {
            auto *list = find<QListView>("servers_name");
            const QSignalBlocker quiet(list->selectionModel());
            const QString prefix = selected + u'|';
            const QStringList all = rows();
            const auto row = std::find_if(all.cbegin(), all.cend(), [&prefix](const QString &r) {
                return r.startsWith(prefix);
            });
            list->setCurrentIndex(row == all.cend()
                                      ? QModelIndex()
                                      : list->model()->index(int(row - all.cbegin()), 0));
        }
        find<QLineEdit>("server_name")->setText(name);
        QTest::keyClicks(find<QLineEdit>("server_ip"), address);
    }

    CountingDialogs dialogs;
    FakePinger pinger;
    ProcessGameStarter gameStarter;
    NoNotifier notifier;
    Services services{dialogs, gameStarter, pinger, notifier};
    std::unique_ptr<KeyValueStore> store;
    std::unique_ptr<Brinemoor> window;
};

// The bookmarks of a settings file as "name|address", read in this process without QSettings'
// cache; "unreadable" when the file is not a whole store with its game path.
QStringList onDisk(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable")};
    const std::optional<PlainIni> ini = readPlainIni(file.readAll());
    if (!ini
        || storedValue(ini->sections, QStringLiteral("settings"), QStringLiteral("codpath"))
               .isEmpty())
        return {QStringLiteral("unreadable")};
    QStringList bookmarks;
    for (const StoredSection &section : ini->sections) {
        if (section.name != QStringLiteral("settings"))
            bookmarks.append(section.name + u'|' + section.value(QStringLiteral("ip")));
    }
    return bookmarks;
}

struct DiskFigures
{
    int actions = 0;
    int stored = 0;
    int reported = 0;   // failed writes the user was told of
    int unreported = 0; // the file differs from what the user was told
    int lost = 0;       // bookmarks gone that no command meant to remove
};

// One of four commands on the window, turn by turn: add, rename, update, delete.
void command(Window &w, int turn, QString &target, QStringList &meant)
{
    const QStringList before = w.rows();
    const QString some = before.isEmpty() ? QString() : before.at(turn % before.size());
    target = some.section(u'|', 0, 0);
    const QString address = some.section(u'|', 1);
    const QString fresh = QStringLiteral("N%1").arg(turn);
    meant = before;
    switch (turn % 4) {
    case 0:
        target.clear();
        w.edit({}, fresh, QStringLiteral("127.0.0.9:28960"));
        meant.append(fresh + QStringLiteral("|127.0.0.9:28960"));
        w.find<QAction>("menu_save")->trigger();
        break;
    case 1:
        w.edit(target, fresh, address);
        meant.removeAll(some);
        meant.append(fresh + u'|' + address);
        w.find<QAction>("menu_save")->trigger();
        break;
    case 2:
        w.edit(target, target, address);
        w.find<QLineEdit>("server_pass")->setText(fresh);
        w.find<QAction>("menu_save")->trigger();
        break;
    default:
        w.edit(target, target, address);
        meant.removeAll(some);
        w.find<QAction>("menu_delete")->trigger();
        break;
    }
}

#ifdef Q_OS_LINUX
qint64 freeBytes(const QByteArray &folder)
{
    struct statvfs disk = {};
    return ::statvfs(folder.constData(), &disk) == 0 ? qint64(disk.f_bavail * disk.f_frsize) : -1;
}

std::optional<DiskFigures> commandsOnASmallDisk(int freePages, int actions)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
        return std::nullopt;
    DiskFigures figures;
    {
        const QString path = dir.filePath(QStringLiteral("Brinemoor.ini"));
        Window w(path, 10);
        QFile filler(dir.filePath(QStringLiteral("filler")));
        const qint64 fill = freeBytes(folder) - freePages * kPage;
        filler.open(QIODevice::WriteOnly);
        filler.write(QByteArray(fill, 'x'));
        filler.close();
        for (int turn = 0; turn < actions; ++turn) {
            const QStringList before = onDisk(path);
            const qsizetype boxes = w.dialogs.shown.size();
            QString target;
            QStringList meant;
            command(w, turn, target, meant);
            QStringList after = onDisk(path);
            std::sort(after.begin(), after.end());
            const bool reported = w.dialogs.shown.size() > boxes;
            ++figures.actions;
            figures.reported += reported ? 1 : 0;
            figures.stored += reported ? 0 : 1;
            std::sort(meant.begin(), meant.end());
            if (!reported && after != meant)
                ++figures.unreported;
            for (const QString &bookmark : before) {
                if (!after.contains(bookmark) && (reported || meant.contains(bookmark)))
                    ++figures.lost;
            }
        }
    }
    ::umount2(folder.constData(), MNT_DETACH);
    return figures;
}
#endif

bool checkSmallDisks()
{
#ifdef Q_OS_LINUX
    bool met = true;
    std::printf("commands on a 64 KiB disk with 0-3 free 4 KiB pages, 200 each\n");
    for (int pages = 0; pages <= 3; ++pages) {
        const std::optional<DiskFigures> figures = commandsOnASmallDisk(pages, 200);
        if (!figures) {
            std::printf("  skipped: mounting a memory disk needs root\n");
            return true;
        }
        std::printf("  %d free: %d actions, %d stored, %d failed and reported, %d unreported, "
                    "%d bookmarks lost\n",
                    pages, figures->actions, figures->stored, figures->reported,
                    figures->unreported, figures->lost);
        met = met && figures->unreported == 0 && figures->lost == 0;
    }
    return met;
#else
    std::printf("commands on a small disk: skipped, needs Linux\n");
    return true;
#endif
}

// Whether the list shows a whole store: every bookmark the editor left, each address whole.
bool showsAWholeStore(Window &w, qsizetype atLeast)
{
    const QStringList rows = w.rows();
    return rows.size() >= atLeast
        && std::all_of(rows.cbegin(), rows.cend(),
                       [](const QString &row) { return row.endsWith(QStringLiteral(":28960")); });
}

// The editor appends a bookmark of its own to the file as it reads it and writes all of it back
// in place, in two halves `pause` apart; the user saves a bookmark halfway through the pause.
bool checkEditorWritingInPlace(int runs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brinemoor.ini"));
    Window w(path, 40);
    int partialViews = 0;
    int lost = 0;
    int reported = 0;
    QStringList expected = onDisk(path);
    for (int run = 0; run < runs; ++run) {
        const auto pause = std::chrono::milliseconds(100 + 1400 * run / std::max(runs - 1, 1));
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QString own = QStringLiteral("E%1").arg(run, 2, 10, QChar(u'0'));
        const QByteArray ini = file.readAll() + "\n[" + own.toLatin1()
            + "]\nip=127.0.0.99:28960\npassword=e\n";
        file.close();
        expected.append(own + QStringLiteral("|127.0.0.99:28960"));
        const qsizetype rowsBefore = w.rows().size();
        std::FILE *editing = std::fopen(QFile::encodeName(path).constData(), "wb");
        const qsizetype half = ini.size() / 2;
        std::fwrite(ini.constData(), 1, half, editing);
        std::fflush(editing);
        std::thread editor([&] {
            std::this_thread::sleep_for(pause);
            std::fwrite(ini.constData() + half, 1, ini.size() - half, editing);
            std::fclose(editing);
        });
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < pause.count() / 2) {
            QTest::qWait(10);
            partialViews += showsAWholeStore(w, rowsBefore) ? 0 : 1;
        }
        const QString saved = QStringLiteral("T%1").arg(run, 2, 10, QChar(u'0'));
        w.edit({}, saved, QStringLiteral("127.0.0.98:28960"));
        const qsizetype boxes = w.dialogs.shown.size();
        w.find<QAction>("menu_save")->trigger();
        reported += w.dialogs.shown.size() > boxes ? 1 : 0;
        editor.join();
        if (w.dialogs.shown.size() == boxes)
            expected.append(saved + QStringLiteral("|127.0.0.98:28960"));
        std::sort(expected.begin(), expected.end());
        const QStringList after = onDisk(path);
        for (const QString &bookmark : std::as_const(expected))
            lost += after.contains(bookmark) ? 0 : 1;
        expected = after;
        // The list follows the editor's last write before the next run; one that does not is
        // counted as a partial view.
        if (!QTest::qWaitFor([&] { return w.rows().size() == after.size(); }, 5000))
            ++partialViews;
    }
    std::printf("an editor writing %d runs in place in two halves 0.1-1.5 s apart, a Save in each "
                "pause\n  %d partial lists seen, %d saves refused, %d bookmarks lost, %lld "
                "bookmarks at the end\n",
                runs, partialViews, reported, lost, qlonglong(expected.size()));
    return partialViews == 0 && lost == 0;
}

qint64 sizeOnDisk(const QString &folder)
{
    qint64 bytes = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo &file : files)
        bytes += file.size();
    return bytes;
}

// A game that writes 200 MB and runs on; then it ends.
bool checkEndlessOutput()
{
#ifdef Q_OS_WIN
    std::printf("game output: skipped, nothing is recorded on Windows\n");
    return true;
#else
    QTemporaryDir dir;
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const QString game = dir.filePath(QStringLiteral("game"));
    QFile script(game);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nhead -c 209715200 /dev/zero | tr '\\0' x\n: >\"$0.wrote\"\n"
                 "while [ ! -e \"$0.end\" ]; do sleep 0.1; done\n");
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    script.close();
    QElapsedTimer clock;
    clock.start();
    ProcessGameStarter starter;
    auto watch = starter.start({game, {}, {}, dir.path()}, 1s);
    QSignalSpy reported(watch.get(), &LaunchWatch::finished);
    reported.wait(10000);
    const auto outcome = reported.value(0).value(0).value<LaunchOutcome>();
    while (!QFileInfo::exists(game + QStringLiteral(".wrote")) && clock.elapsed() < 300000)
        QTest::qWait(100);
    const QString folder = QFileInfo(outcome.outputFile).absolutePath();
    const qint64 kept = sizeOnDisk(folder);
    QFile(game + QStringLiteral(".end")).open(QIODevice::WriteOnly);
    const auto gameFolders = [&dir] {
        return QDir(dir.path()).entryList({QStringLiteral("brinemoor-game-*")}, QDir::Dirs);
    };
    const bool removed = QTest::qWaitFor([&] { return gameFolders().isEmpty(); }, 5000);
    std::printf("a game writing 200 MB and running on (written %.1f s after its start)\n  %lld "
                "bytes in its "
                "folder while it ran, %lld folders left after it ended\n",
                double(clock.elapsed()) / 1000, qlonglong(kept), qlonglong(gameFolders().size()));
    return outcome.kind == LaunchOutcome::Kind::Running && kept <= 65536 + 64 && removed;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool disks = checkSmallDisks();
    const bool editor = checkEditorWritingInPlace(50);
    const bool output = checkEndlessOutput();
    std::printf("%s\n", disks && editor && output ? "all goals met" : "GOAL MISSED");
    return disks && editor && output ? 0 : 1;
}
