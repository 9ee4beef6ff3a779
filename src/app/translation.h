// SPDX-License-Identifier: GPL-3.0-or-later
// The program's texts, and Qt's own (the standard buttons, the file dialog), in the user's
// language.
#pragma once

#include <QTranslator>

class QLocale;

// Takes the first of the locale's languages that is English, which the texts are written in, or
// that the program has a translation for; the C locale takes none. Qt's own translation comes
// with the program's, in the same language, where Qt's is installed. Both are installed in the
// application while this lives.
class Translation final
{
public:
    explicit Translation(const QLocale &locale);
    Q_DISABLE_COPY_MOVE(Translation)

    // False when the texts stay as they are written.
    bool isInstalled() const { return !m_program.isEmpty(); }

private:
    QTranslator m_program;
    QTranslator m_qt;
};
