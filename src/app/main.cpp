// Builds the real platform services, creates the main window and runs the event loop.
#include "app/brinemoor.h"
#include "bookmarks/settingsstore.h"
#include "platform/icmppinger.h"
#include "platform/processgamestarter.h"
#include "platform/qtdialogs.h"
#include "platform/services.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QtDialogs dialogs;
    SettingsStore store(SettingsStore::openUserSettings());
    ProcessGameStarter gameStarter;
    IcmpPinger pinger;
    Services services{dialogs, gameStarter, pinger};
    StartOptions options;
    options.commandLine = QApplication::arguments().mid(1).join(u' ');
    options.defaultClanHost = QStringLiteral(BRINEMOOR_CLAN_HOST);
    Brinemoor window(services, store, std::move(options));
    window.show();
    return app.exec();
}
