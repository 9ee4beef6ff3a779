// The main window's clan nickname step at start-up, and the help window's menu item.
#include "app/brinemoor.h"

void Brinemoor::loadClanNicknames() { }
void Brinemoor::men_help_Click() { }
