#include "bookmarks/settingsstore.h"

#include "bookmarks/plainini.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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

SettingsStore::SettingsStore(Location location)
    : m_location(std::move(location))
{
    m_unreadable = backend() == Backend::IniFile ? cannotBeRead(m_location.iniFile)
                                                 : settings().status() == QSettings::AccessError;
}

SettingsStore::Backend SettingsStore::backend() const
{
    return m_location.iniFile.isEmpty() ? Backend::Registry : Backend::IniFile;
}

SettingsStore::Location SettingsStore::openUserSettings()
{
#ifdef Q_OS_WIN
    // The layout earlier installations wrote, so their bookmarks and game path read unchanged.
    const auto registry = [] {
        return std::make_unique<QSettings>(QStringLiteral("VB and VBA Program Settings"),
                                           QString::fromUtf16(kApplication));
    };
    return {registry, {}};
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return openIniFile(QDir(folder).filePath(QStringLiteral("Brinemoor/Brinemoor.ini")));
#endif
}

SettingsStore::Location SettingsStore::openIniFile(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath(); // as QSettings names it
    return {[file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); }, file};
}

QSettings &SettingsStore::settings() const
{
    if (!m_settings)
        m_settings = m_location.open();
    return *m_settings;
}

QString SettingsStore::fileName() const
{
    return m_location.iniFile.isEmpty() ? settings().fileName() : m_location.iniFile;
}

// QSettings is not first opened on a file it cannot read: that would empty the cache which every
// QSettings on the file in this process shares, and once the file is back unchanged, a later one
// would take it for that empty cache.
bool SettingsStore::canOpenSettings() const
{
    if (m_settings || m_location.iniFile.isEmpty() || !QFileInfo::exists(m_location.iniFile))
        return true;
    return QFile(m_location.iniFile).open(QIODevice::ReadOnly);
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
    if (!stored.contains(u'%') && (backend == Backend::IniFile || !stored.contains(u'\\')))
        return stored;
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
    if (!canOpenSettings())
        return {};
    return settings().value(stored(section) + u'/' + key).toString();
}

QStringList SettingsStore::readList(const QString &section, const QString &key) const
{
    if (!canOpenSettings())
        return {};
    return settings().value(stored(section) + u'/' + key).toStringList();
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const QString group = stored(section);
    return change(group, [&] { settings().setValue(group + u'/' + key, value); });
}

bool SettingsStore::deleteSection(const QString &section)
{
    const QString group = stored(section);
    return change(group, [&] { settings().remove(group); });
}

bool SettingsStore::change(const QString &group, const std::function<void()> &edit)
{
    if (!canOpenSettings() || !settings().isWritable())
        return false;
    // A QSettings reports its first error for good: after one, only a fresh object can tell
    // whether the next change reaches the disk.
    if (m_settings->status() != QSettings::NoError)
        m_settings = m_location.open();
    const QVariantMap before = groupValues(group);
    edit();
    clearLeftoverLock();
    m_settings->sync();
    // A file that could not be parsed is still rewritten; only a failed write loses the change.
    if (m_settings->status() != QSettings::AccessError) {
        m_written = fingerprint();
        return true;
    }
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
    const QString path = m_location.iniFile + QStringLiteral(".lock");
    const QFileInfo lock(path);
    if (!lock.exists() || lock.size() != 0)
        return;
    QLockFile leftover(path);
    leftover.setStaleLockTime(kLeftoverLockAge);
    if (leftover.tryLock(2 * kLeftoverLockAge))
        leftover.unlock();
}

// A fresh QSettings, since one reports its first error for good. It is not opened on a file that
// cannot be read: that would empty the cache every QSettings on the file shares.
bool SettingsStore::reload()
{
    if (backend() == Backend::IniFile && cannotBeRead(m_location.iniFile))
        return false;
    std::unique_ptr<QSettings> fresh = m_location.open();
    if (fresh->status() != QSettings::NoError)
        return false;
    m_settings = std::move(fresh);
    return true;
}

QByteArray SettingsStore::fingerprint() const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (backend() == Backend::IniFile) {
        QFile file(m_location.iniFile);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        return hash.result();
    }
    const std::optional<QList<StoredSection>> sections = contentsThroughQSettings();
    for (const StoredSection &section : sections.value_or(QList<StoredSection>())) {
        hash.addData(section.name.toUtf8() + '\0');
        for (const auto &[key, value] : section.values)
            hash.addData(key.toUtf8() + '\0' + value.toUtf8() + '\0');
    }
    return hash.result();
}

void SettingsStore::enumkeys(bool recursive, QStringList &KeyNames)
{
    if (canOpenSettings())
        enumerateGroup(recursive, KeyNames);
}

void SettingsStore::enumerateGroup(bool recursive, QStringList &KeyNames)
{
    const QStringList groups = settings().childGroups();
    for (const QString &group : groups) {
        KeyNames.append(unescapeSection(group, backend()));
        if (!recursive)
            continue;
        m_settings->beginGroup(group);
        enumerateGroup(recursive, KeyNames);
        m_settings->endGroup();
    }
}

std::optional<QList<StoredSection>> SettingsStore::contents() const
{
    if (std::optional<QList<StoredSection>> read = contentsInOnePass())
        return read;
    return contentsThroughQSettings();
}

// nullopt leaves the file to QSettings: a file it cannot open here (QSettings may still hold
// what it read before), or one in a shape of QSettings' own.
std::optional<QList<StoredSection>> SettingsStore::contentsInOnePass() const
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    // QSettings ignores letter case in INI files there; the one-pass reading does not.
    return std::nullopt;
#else
    QFile file(m_location.iniFile);
    if (m_location.iniFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<PlainIni> ini = readPlainIni(file.readAll());
    if (!ini)
        return std::nullopt;
    for (const auto &[group, index] : std::as_const(ini->otherValues)) {
        StoredSection &section = *std::lower_bound(
            ini->sections.begin(), ini->sections.end(), group,
            [](const StoredSection &stored, const QString &name) { return stored.name < name; });
        auto &[key, value] = section.values[index];
        value = settings().value(group + u'/' + key).toString();
    }
    for (StoredSection &section : ini->sections)
        section.name = unescapeSection(section.name, backend());
    return std::move(ini->sections);
#endif
}

// A QSettings that could not read the file knows nothing of what it holds.
std::optional<QList<StoredSection>> SettingsStore::contentsThroughQSettings() const
{
    if (!canOpenSettings() || settings().status() == QSettings::AccessError)
        return std::nullopt;
    QList<StoredSection> sections;
    const QStringList groups = m_settings->childGroups();
    for (const QString &group : groups) {
        StoredSection &section = sections.emplace_back();
        section.name = unescapeSection(group, backend());
        m_settings->beginGroup(group);
        const QStringList keys = m_settings->childKeys();
        for (const QString &key : keys)
            section.values.append({key, m_settings->value(key).toString()});
        m_settings->endGroup();
    }
    return sections;
}
