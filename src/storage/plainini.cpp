// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/plainini.h"

#include <algorithm>

namespace {

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
        || c == '-' || c == '.';
}

int upperHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%XX" and "%UXXXX" as QSettings writes them, upper-case hex digits: -1 when `text` does not
// start with one, else the code and, in `length`, how many characters it takes.
int percentEscape(QByteArrayView text, qsizetype &length)
{
    const bool wide = text.size() > 1 && text[1] == 'U';
    length = wide ? 6 : 3;
    if (text.size() < length)
        return -1;
    int code = 0;
    for (qsizetype i = wide ? 2 : 1; i < length; ++i) {
        const int digit = upperHexDigit(text[i]);
        if (digit < 0)
            return -1;
        code = code * 16 + digit;
    }
    return code;
}

// A section or key name as QSettings escapes it: letters, digits, "_-." and percent escapes.
// nullopt for anything else, a "/" included, since that nests groups.
std::optional<QString> unescapedName(QByteArrayView escaped)
{
    if (escaped.isEmpty())
        return std::nullopt;
    if (std::all_of(escaped.begin(), escaped.end(), isNameCharacter))
        return QString::fromLatin1(escaped);
    QString name;
    name.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size();) {
        if (isNameCharacter(escaped[i])) {
            name.append(QLatin1Char(escaped[i++]));
            continue;
        }
        qsizetype length = 0;
        const int code = escaped[i] == '%' ? percentEscape(escaped.sliced(i), length) : -1;
        if (code < 0 || code == '/')
            return std::nullopt;
        name.append(QChar(char16_t(code)));
        i += length;
    }
    return name;
}

// The value as QSettings reads it, when it is plain text: no quotes, escapes, list commas,
// comment, control characters, outer blanks or leading "@".
std::optional<QString> plainValue(QByteArrayView raw)
{
    if (raw.startsWith('@') || raw.startsWith(' ') || raw.endsWith(' '))
        return std::nullopt;
    for (const char c : raw) {
        if (uchar(c) < 0x20 || c == '"' || c == '\\' || c == ',' || c == ';')
            return std::nullopt;
    }
    return QString::fromUtf8(raw);
}

// QSettings reads "[general]" and "[%general]", in any letter case, as sections of their own.
bool isGeneralSection(QByteArrayView escaped)
{
    const QByteArrayView bare = escaped.startsWith('%') ? escaped.sliced(1) : escaped;
    return bare.compare("general", Qt::CaseInsensitive) == 0;
}

bool addSection(QByteArrayView line, PlainIni &ini)
{
    if (!line.endsWith(']'))
        return false;
    const QByteArrayView escaped = line.sliced(1, line.size() - 2);
    const std::optional<QString> group = unescapedName(escaped);
    if (!group || isGeneralSection(escaped))
        return false;
    ini.sections.append({*group, {}});
    return true;
}

// The same few key names come back in every section: `keys` keeps one copy of each, as written
// and as read, so that a key already met costs neither decoding nor an allocation.
bool addEntry(QByteArrayView line, PlainIni &ini, QList<std::pair<QByteArray, QString>> &keys)
{
    StoredSection &section = ini.sections.last();
    const qsizetype equals = line.indexOf('=');
    const QByteArrayView written = line.first(std::max<qsizetype>(equals, 0));
    auto known = std::find_if(keys.cbegin(), keys.cend(),
                              [written](const auto &key) { return key.first == written; });
    if (known == keys.cend()) {
        const std::optional<QString> key = unescapedName(written);
        if (!key)
            return false;
        keys.append({written.toByteArray(), *key});
        known = keys.cend() - 1;
    }
    for (const auto &entry : std::as_const(section.values)) {
        if (entry.first == known->second)
            return false;
    }
    const std::optional<QString> value = plainValue(line.sliced(equals + 1));
    if (!value)
        ini.otherValues.append({section.name, -1, section.values.size()});
    section.values.append({known->second, value.value_or(QString())});
    return true;
}

// In the order QSettings lists its groups; false when a group is there twice, which QSettings
// would merge.
bool sortByGroup(QList<StoredSection> &sections)
{
    const auto byName = [](const StoredSection &a, const StoredSection &b) {
        return a.name < b.name;
    };
    // QSettings writes them sorted already.
    if (!std::is_sorted(sections.cbegin(), sections.cend(), byName))
        std::sort(sections.begin(), sections.end(), byName);
    return std::adjacent_find(
               sections.cbegin(), sections.cend(),
               [](const StoredSection &a, const StoredSection &b) { return a.name == b.name; })
        == sections.cend();
}

} // namespace

std::optional<PlainIni> readPlainIni(QByteArrayView data)
{
    PlainIni ini;
    QList<std::pair<QByteArray, QString>> keys;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        const QByteArrayView line = data.sliced(start, end - start);
        start = end + 1;
        if (line.isEmpty())
            continue;
        const bool read = line.startsWith('[')
            ? addSection(line, ini)
            : !ini.sections.isEmpty() && addEntry(line, ini, keys);
        if (!read)
            return std::nullopt;
    }
    if (!sortByGroup(ini.sections))
        return std::nullopt;
    for (PlainIni::OtherValue &other : ini.otherValues) {
        other.section = std::lower_bound(ini.sections.cbegin(), ini.sections.cend(), other.group,
                                         [](const StoredSection &section, const QString &name) {
                                             return section.name < name;
                                         })
            - ini.sections.cbegin();
    }
    return ini;
}
