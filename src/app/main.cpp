// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the real platform services, creates the main window and runs the event loop.
#include "app/brinemoor.h"
#include "app/translation.h"
#include "instance/runningcopy.h"
#include "launch/autostart.h"
#include "launch/joinlink.h"
#include "storage/keyvaluestore.h"
#include "platform/icmppinger.h"
#include "platform/processgamestarter.h"
#include "platform/qtdialogs.h"
#include "platform/services.h"
#include "version.h"

#ifdef Q_OS_WIN
#include "platform/notifier.h"
#else
#include "platform/dbusnotifier.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>

namespace {

constexpr char kDescription[] = QT_TRANSLATE_NOOP(
    "CommandLine", "Keeps your favourite game servers, shows their live status and joins them.");
constexpr char kSwitchName[] = QT_TRANSLATE_NOOP("CommandLine", "switch");
constexpr char kSwitchHelp[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "/nick:<nickname> fetches the clan's nickname list at start-up and joins games under the "
    "in-game name it gives for <nickname>. /debug shows \"Launched game....\" instead of starting "
    "the game.");
constexpr char kSwitchSyntax[] = QT_TRANSLATE_NOOP("CommandLine", "[/nick:<nickname> | /debug]");
constexpr char kJoinOption[] = "join";
constexpr char kJoinHelp[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Joins the server at HOST:PORT, after asking. A join link cod://HOST:PORT (with "
    "/?password=PW) does the same.");
// A later start ends within a second, whatever the first copy is busy with.
constexpr std::chrono::milliseconds kHandOverBound{800};
constexpr char kMinimizedHelp[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Starts with the window hidden, the icon in the tray (shown when there is no tray).");

QString helpText(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

// Handles --help, --version and unknown options, each of which ends the program here. What is left
// (with a join request taken out) is the design's command line: the arguments as one text,
// whatever they hold after the first one (a nickname may start with "-").
QString commandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(helpText(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(helpText(kSwitchName), helpText(kSwitchHelp),
                                 helpText(kSwitchSyntax));
    // Taken out before parsing, wherever they stand; listed for --help alone.
    parser.addOption(
        {QString::fromLatin1(kJoinOption), helpText(kJoinHelp), QStringLiteral("HOST:PORT")});
    parser.addOption({QString::fromLatin1(kMinimizedOption).mid(2), helpText(kMinimizedHelp)});
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    // Asked for help, the user gets it, whatever else is asked; process() would answer
    // --version first.
    if (parser.parse(arguments) && parser.isSet(help))
        parser.showHelp();
    parser.process(arguments);
    return arguments.mid(1).join(u' ');
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Brinemoor"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersionText));
    QApplication::setOrganizationName(QStringLiteral("Brinemoor"));
    QApplication::setOrganizationDomain(QStringLiteral("brinemoor.example"));
    // Names the installed brinemoor.desktop, from which desktops take the icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("brinemoor"));
    QApplication app(argc, argv);
    // Before anything is said, --help included.
    const Translation translation(QLocale::system());
    StartOptions options;
    QStringList arguments = QApplication::arguments();
    options.joinRequest = takeJoinRequest(arguments);
    // Hidden at start while a tray is there.
    const bool minimized = takeMinimizedOption(arguments);
    options.commandLine = commandLine(arguments);
    options.defaultClanHost = QStringLiteral(BRINEMOOR_CLAN_HOST);

    QtDialogs dialogs;
    const std::unique_ptr<KeyValueStore> store = openUserStore();
    RunningCopy runningCopy(store->fileName());
    if (!runningCopy.becomeFirst()) {
        if (runningCopy.handOver(QApplication::arguments().mid(1), kHandOverBound))
            return 0;
        qWarning("Brinemoor runs already but does not answer: starting another copy");
    }
    store->readAhead();
#ifdef Q_OS_WIN
    if (!registerJoinLinks(QString::fromLatin1(kUserClassesKey),
                           QApplication::applicationFilePath()))
        qWarning("cod:// links could not be declared for this program");
#endif
    ProcessGameStarter::removeEndedGameFolders();
    ProcessGameStarter gameStarter;
    IcmpPinger pinger;
#ifdef Q_OS_WIN
    NoNotifier notifier;
#else
    DBusNotifier notifier;
#endif
    Services services{dialogs, gameStarter, pinger, notifier};
    Brinemoor window(services, *store, std::move(options));
    QObject::connect(&runningCopy, &RunningCopy::handedOver, &window, &Brinemoor::takeLaterStart);
    window.start();
    if (!minimized || !window.keepsWatchInTray())
        window.show();
    return app.exec();
}
