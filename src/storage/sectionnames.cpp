// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/sectionnames.h"

namespace {

QString percentCode(QChar c)
{
    return QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
}

// The escapes this store writes and reads back: "%25", "%2F" and "%5C" anywhere, and the first
// letter of any letter case of "general". Any other "%" sequence is a name's own text, so names
// that earlier versions stored with a "%" in them are found under the same name.
bool isStoreEscape(QStringView text, qsizetype at)
{
    if (at + 2 >= text.size() || text.at(at) != u'%')
        return false;
    const QStringView code = text.mid(at + 1, 2);
    if (code == u"25" || code == u"2F" || code == u"5C")
        return true;
    return at == 0 && (code == u"47" || code == u"67")
        && text.mid(3).compare(u"eneral", Qt::CaseInsensitive) == 0;
}

} // namespace

// Qt's registry backend swaps "/" and "\" between QSettings' names and the registry's: a "\"
// given to QSettings is a "/" in the key's name, which is how earlier installations stored a "/"
// that the user typed. A "\" cannot be part of a key's name and is escaped.
QString escapeSection(const QString &name, StoreBackend backend)
{
    QString escaped;
    escaped.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == u'/' && backend == StoreBackend::Registry)
            escaped += u'\\';
        else if (c == u'/' || c == u'\\' || isStoreEscape(name, i))
            escaped += percentCode(c);
        else
            escaped += c;
    }
    if (backend == StoreBackend::IniFile
        && name.compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0)
        escaped.replace(0, 1, percentCode(name.at(0)));
    return escaped;
}

QString unescapeSection(const QString &stored, StoreBackend backend)
{
    if (!stored.contains(u'%') && (backend == StoreBackend::IniFile || !stored.contains(u'\\')))
        return stored;
    QString name;
    name.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (isStoreEscape(stored, i)) {
            name += QChar(stored.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else if (stored.at(i) == u'\\' && backend == StoreBackend::Registry) {
            name += u'/';
        } else {
            name += stored.at(i);
        }
    }
    return name;
}

bool isSameSection(const QString &a, const QString &b, StoreBackend backend)
{
    return escapeSection(a, backend).compare(escapeSection(b, backend), kSectionCase) == 0;
}
