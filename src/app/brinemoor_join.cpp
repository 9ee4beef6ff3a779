// The main window's join command and the bookmark list's click and double click.
#include "app/brinemoor.h"

void Brinemoor::menu_join_Click() { }
void Brinemoor::joinserver() { }
void Brinemoor::servers_name_Click() { }
void Brinemoor::servers_name_DblClick() { }
