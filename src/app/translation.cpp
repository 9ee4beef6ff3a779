// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

Translation::Translation(const QLocale &locale)
{
    // With LANG=C, LANGUAGE would still list languages: C means the texts as written.
    if (locale.language() == QLocale::C)
        return;
    for (const QString &name : locale.uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            return;
        if (!m_program.load(language, QStringLiteral("brinemoor"), QStringLiteral("_"),
                            QStringLiteral(":/i18n")))
            continue;
        QCoreApplication::installTranslator(&m_program);
        if (m_qt.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
        return;
    }
}
