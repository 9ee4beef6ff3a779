// SPDX-License-Identifier: GPL-3.0-or-later
// The platform services handed to the main window: the only seams between the program and the OS.
#pragma once

class Dialogs;
class GameStarter;
class Notifier;
class Pinger;

struct Services
{
    Dialogs &dialogs;
    GameStarter &gameStarter;
    Pinger &pinger;
    Notifier &notifier;
};
