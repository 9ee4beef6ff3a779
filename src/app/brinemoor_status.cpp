// The main window's status exchange: the address field's keys, the query, its reply and its ends.
#include "app/brinemoor.h"

bool Brinemoor::eventFilter(QObject *watched, QEvent *event)
{
    return QMainWindow::eventFilter(watched, event);
}

bool Brinemoor::server_ip_KeyPress(int) { return false; }
void Brinemoor::menu_update_Click() { }
void Brinemoor::queryserver() { }
void Brinemoor::pingserver(const QString &) { }
void Brinemoor::cod_query_DataArrival() { }
void Brinemoor::cod_query_Error() { }
void Brinemoor::timeout_Timer() { }
