#include "bookmarks/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

using namespace std::chrono_literals;

constexpr char16_t kApplication[] = u"Brinemoor";
// QSettings creates its lock file and then writes its owner into it, within microseconds.
constexpr std::chrono::milliseconds kLeftoverLockAge = 1s;

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

// A file that is there but cannot be opened, or a part of its path that is no folder, or one that
// cannot be entered: QSettings reads such a store as empty, as if nothing had been saved yet.
bool cannotBeRead(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists())
        return !file.isFile() || !file.isReadable();
    QFileInfo nearest(file.absolutePath());
    while (!nearest.exists() && !nearest.isRoot())
        nearest = QFileInfo(nearest.absolutePath());
    return !nearest.isDir() || !nearest.isExecutable();
}

} // namespace

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings))
{
    m_unreadable = m_settings->status() == QSettings::AccessError
        || (backend() == Backend::IniFile && cannotBeRead(m_settings->fileName()));
}

SettingsStore::Backend SettingsStore::backend() const
{
#ifdef Q_OS_WIN
    if (m_settings->format() == QSettings::NativeFormat)
        return Backend::Registry;
#endif
    return Backend::IniFile;
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

// Qt's registry backend swaps "/" and "\" between QSettings' names and the registry's: a "\"
// given to QSettings is a "/" in the key's name, which is how earlier installations stored a "/"
// that the user typed. A "\" cannot be part of a key's name and is escaped.
QString SettingsStore::escapeSection(const QString &name, Backend backend)
{
    QString escaped;
    escaped.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == u'/' && backend == Backend::Registry)
            escaped += u'\\';
        else if (c == u'/' || c == u'\\' || isStoreEscape(name, i))
            escaped += percentCode(c);
        else
            escaped += c;
    }
    if (backend == Backend::IniFile
        && name.compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0)
        escaped.replace(0, 1, percentCode(name.at(0)));
    return escaped;
}

QString SettingsStore::unescapeSection(const QString &stored, Backend backend)
{
    QString name;
    name.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (isStoreEscape(stored, i)) {
            name += QChar(stored.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else if (stored.at(i) == u'\\' && backend == Backend::Registry) {
            name += u'/';
        } else {
            name += stored.at(i);
        }
    }
    return name;
}

QString SettingsStore::stored(const QString &section) const
{
    return escapeSection(section, backend());
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
    clearLeftoverLock();
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

// QSettings waits for a lock file until it is 30 s old. A crash between creating the lock file and
// writing its owner into it leaves an empty one behind, which would hold every save that long. Only
// such an empty file is taken on here, once it is older than any live writer leaves it empty.
// QLockFile removes it only while no process holds it open under its lock, so a second copy that
// is writing just now keeps its lock.
void SettingsStore::clearLeftoverLock() const
{
    if (backend() != Backend::IniFile)
        return;
    const QString path = m_settings->fileName() + QStringLiteral(".lock");
    const QFileInfo lock(path);
    if (!lock.exists() || lock.size() != 0)
        return;
    QLockFile leftover(path);
    leftover.setStaleLockTime(kLeftoverLockAge);
    if (leftover.tryLock(2 * kLeftoverLockAge))
        leftover.unlock();
}

bool SettingsStore::reload()
{
    // A fresh QSettings, since one reports its first error for good.
    auto fresh = std::make_unique<QSettings>(m_settings->fileName(), m_settings->format());
    if (fresh->status() != QSettings::NoError)
        return false;
    m_settings = std::move(fresh);
    return true;
}

QVariantMap SettingsStore::contents() const
{
    return groupValues(QString());
}

void SettingsStore::enumkeys(bool recursive, QStringList &KeyNames)
{
    enumerateGroup(recursive, KeyNames);
}

void SettingsStore::enumerateGroup(bool recursive, QStringList &KeyNames)
{
    const QStringList groups = m_settings->childGroups();
    for (const QString &group : groups) {
        KeyNames.append(unescapeSection(group, backend()));
        if (!recursive)
            continue;
        m_settings->beginGroup(group);
        enumerateGroup(recursive, KeyNames);
        m_settings->endGroup();
    }
}
