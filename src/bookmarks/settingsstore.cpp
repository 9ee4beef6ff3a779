#include "bookmarks/settingsstore.h"

#include <QDir>
#include <QStandardPaths>

namespace {

constexpr char16_t kApplication[] = u"Brinemoor";

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

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings))
{ }

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
        if (c == u'/' || c == u'\\' || isStoreEscape(name, i))
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
        if (isStoreEscape(stored, i)) {
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

bool SettingsStore::isSameSection(const QString &a, const QString &b) const
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    return stored(a).compare(stored(b), sensitivity) == 0;
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    return m_settings->value(stored(section) + u'/' + key).toString();
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const QString group = stored(section);
    return change(group, [&] { m_settings->setValue(group + u'/' + key, value); });
}

bool SettingsStore::deleteSection(const QString &section)
{
    const QString group = stored(section);
    return change(group, [&] { m_settings->remove(group); });
}

bool SettingsStore::change(const QString &group, const std::function<void()> &edit)
{
    if (!m_settings->isWritable())
        return false;
    // A QSettings reports its first error for good: after one, only a fresh object can tell
    // whether the next change reaches the disk.
    if (m_settings->status() != QSettings::NoError)
        m_settings = std::make_unique<QSettings>(m_settings->fileName(), m_settings->format());
    const QVariantMap before = groupValues(group);
    edit();
    m_settings->sync();
    // A file that could not be parsed is still rewritten; only a failed write loses the change.
    if (m_settings->status() != QSettings::AccessError)
        return true;
    // The write failed on its way (a full disk, say). QSettings keeps the change it could not
    // write in a cache that every QSettings on the file in this process shares: reads would show
    // it, and the next write that succeeds would store it after all.
    restoreGroup(group, before);
    return false;
}

QVariantMap SettingsStore::groupValues(const QString &group) const
{
    QVariantMap values;
    m_settings->beginGroup(group);
    const QStringList keys = m_settings->allKeys();
    for (const QString &key : keys)
        values.insert(key, m_settings->value(key));
    m_settings->endGroup();
    return values;
}

void SettingsStore::restoreGroup(const QString &group, const QVariantMap &values)
{
    m_settings->remove(group);
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        m_settings->setValue(group + u'/' + value.key(), value.value());
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
