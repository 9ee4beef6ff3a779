#include "bookmarks/settingsstore.h"

#include <QDir>
#include <QStandardPaths>

namespace {

constexpr char16_t kApplication[] = u"Brinemoor";

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

QString percentCode(QChar c)
{
    return QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
}

bool startsPercentCode(const QString &text, qsizetype at)
{
    return at + 2 < text.size() && text.at(at) == u'%' && isHexDigit(text.at(at + 1))
            && isHexDigit(text.at(at + 2));
}

} // namespace

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings))
{
}

std::unique_ptr<QSettings> SettingsStore::openUserSettings()
{
#ifdef Q_OS_WIN
    // The layout earlier installations wrote, so their bookmarks and game path read unchanged.
    return std::make_unique<QSettings>(QStringLiteral("VB and VBA Program Settings"),
                                       QString::fromUtf16(kApplication));
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return openIniFile(QDir(folder).filePath(QStringLiteral("Brinemoor/Brinemoor.ini")));
#endif
}

std::unique_ptr<QSettings> SettingsStore::openIniFile(const QString &path)
{
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString SettingsStore::escapeSection(const QString &name, bool iniFormat)
{
    QString escaped;
    escaped.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        // A "%" stays bare unless it would read as an escape: names that earlier versions stored
        // with a bare "%" must still be found under the same name.
        const bool ambiguousPercent = c == u'%' && startsPercentCode(name, i);
        if (c == u'/' || c == u'\\' || ambiguousPercent)
            escaped += percentCode(c);
        else
            escaped += c;
    }
    if (iniFormat && name.compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0)
        escaped.replace(0, 1, percentCode(name.at(0)));
    return escaped;
}

QString SettingsStore::unescapeSection(const QString &stored)
{
    QString name;
    name.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (startsPercentCode(stored, i)) {
            name += QChar(stored.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else {
            name += stored.at(i);
        }
    }
    return name;
}

QString SettingsStore::stored(const QString &section) const
{
    return escapeSection(section, m_settings->format() == QSettings::IniFormat);
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    return m_settings->value(stored(section) + u'/' + key).toString();
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(stored(section) + u'/' + key, value);
    return commit();
}

bool SettingsStore::deleteSection(const QString &section)
{
    m_settings->remove(stored(section));
    return commit();
}

bool SettingsStore::commit()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

void SettingsStore::enumkeys(bool recursive, QStringList &KeyNames)
{
    enumerateGroup(recursive, KeyNames);
}

void SettingsStore::enumerateGroup(bool recursive, QStringList &KeyNames)
{
    const QStringList groups = m_settings->childGroups();
    for (const QString &group : groups) {
        KeyNames.append(unescapeSection(group));
        if (!recursive)
            continue;
        m_settings->beginGroup(group);
        enumerateGroup(recursive, KeyNames);
        m_settings->endGroup();
    }
}
