// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/typedcharacter.h"

#include <QKeyEvent>

int typedCharacter(const QKeyEvent &event)
{
    // Ctrl with Alt is AltGr on some keyboards, which types ordinary characters.
    const bool control = event.modifiers().testFlag(Qt::ControlModifier)
        && !event.modifiers().testFlag(Qt::AltModifier);
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return control ? 127 : kBackspaceKey;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return control ? 10 : kEnterKey;
    if (control)
        return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : kNoCharacter;
    const QString text = event.text();
    if (text.isEmpty() || text.front().category() == QChar::Other_Control)
        return kNoCharacter;
    // Several characters at once (from an input method) are no digit or separator: refused whole.
    return text.size() == 1 ? int(text.front().unicode()) : int(QChar::ReplacementCharacter);
}
