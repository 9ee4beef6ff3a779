// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/settingsstore.h"

#include "bookmarks/plainini.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {

using namespace std::chrono_literals;

constexpr char16_t kApplication[] = u"Brinemoor";

// How QSettings compares section names: without regard to letter case on Windows, in the registry
// and in INI files alike; with it everywhere else, macOS included.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kSectionCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kSectionCase = Qt::CaseSensitive;
#endif
// QSettings creates its lock file and then writes its owner into it, within microseconds.
constexpr std::chrono::milliseconds kLeftoverLockAge = 1s;
// Another copy holds the lock only while it writes a few kilobytes.
constexpr std::chrono::milliseconds kLockWait = 2s;
// How long a write waits for a file that someone is writing just now, and how long a file that
// does not end a line must stay unchanged before it counts as finished (an editor that leaves no
// line break at the end, or a store emptied by hand) rather than as cut off mid-write.
constexpr std::chrono::milliseconds kSettleBound = 2s;
constexpr std::chrono::milliseconds kSettleLook = 20ms;

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

// A write beyond the file size limit then fails as a full disk does, instead of ending the
// program. Only while the store writes: a game started later must not inherit the ignored signal.
class FileSizeLimitAsError final
{
public:
    FileSizeLimitAsError()
    {
#ifdef SIGXFSZ
        m_before = std::signal(SIGXFSZ, SIG_IGN);
#endif
    }
    ~FileSizeLimitAsError()
    {
#ifdef SIGXFSZ
        std::signal(SIGXFSZ, m_before);
#endif
    }

private:
    void (*m_before)(int) = SIG_DFL;
};

// Unbuffered: a buffered device writes its last part only as it closes, and the failure of that
// write goes unreported.
bool writeWhole(QFileDevice &file, const QByteArray &bytes)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray bytesFingerprint(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QByteArray sectionsFingerprint(const QList<StoredSection> &sections)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const StoredSection &section : sections) {
        hash.addData(section.name.toUtf8() + '\0');
        for (const auto &[key, value] : section.values)
            hash.addData(key.toUtf8() + '\0' + value.toUtf8() + '\0');
    }
    return hash.result();
}

// Values are compared as text: the file keeps no types, so a one-name list comes back as text.
bool holdsTheSame(const QSettings &a, const QSettings &b)
{
    const QStringList keys = a.allKeys();
    return keys == b.allKeys() && std::all_of(keys.cbegin(), keys.cend(), [&](const QString &key) {
               return a.value(key).toStringList() == b.value(key).toStringList();
           });
}

// Where the copy is edited: in memory where there is such a folder, as QSettings makes its
// writes lasting (it syncs its lock file and the file to the disk), which takes time for nothing.
QString scratchFolder()
{
#ifdef Q_OS_LINUX
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        return memory.filePath() + QStringLiteral("/brinemoor-XXXXXX");
#endif
    return QDir::tempPath() + QStringLiteral("/brinemoor-XXXXXX");
}

// QSettings' own rendering of the edited store, made on a copy in a scratch folder, since
// QSettings neither reports every failed write nor leaves the file as it was after one. What it
// wrote is read back under another name, which no QSettings has cached yet, and compared.
std::optional<QByteArray> editedCopy(const QByteArray &before,
                                     const std::function<void(QSettings &)> &edit)
{
    const QTemporaryDir scratch(scratchFolder());
    const QString path = scratch.filePath(QStringLiteral("edited.ini"));
    const QString written = scratch.filePath(QStringLiteral("written.ini"));
    QFile copy(path);
    if (!scratch.isValid() || !writeWhole(copy, before))
        return std::nullopt;
    copy.close();
    QSettings edited(path, QSettings::IniFormat);
    edit(edited);
    edited.sync();
    if (edited.status() == QSettings::AccessError || !QFile::rename(path, written))
        return std::nullopt;
    const QSettings reread(written, QSettings::IniFormat);
    QFile result(written);
    if (reread.status() != QSettings::NoError || !holdsTheSame(edited, reread)
        || !result.open(QIODevice::ReadOnly))
        return std::nullopt;
    return result.readAll();
}

// The new file takes the old one's place only once all of it is written; what is there then is
// read back, rather than trusting that every layer below reported its failure.
bool replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!writeWhole(file, bytes) || !file.commit())
        return false;
    QFile written(path);
    return written.open(QIODevice::ReadOnly) && written.readAll() == bytes;
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
    return openRegistry(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\")
                        + QString::fromUtf16(kApplication));
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return openIniFile(QDir(folder).filePath(QStringLiteral("Brinemoor/Brinemoor.ini")));
#endif
}

// Opened by its full path, that key alone is read: no fallback to other keys of the system's.
SettingsStore::Location SettingsStore::openRegistry(const QString &key)
{
    return {[key] { return std::make_unique<QSettings>(key, QSettings::NativeFormat); }, {}};
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
    return stored(a).compare(stored(b), kSectionCase) == 0;
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    if (const StoredSection *remembered = rememberedSection(section))
        return remembered->value(key);
    if (!canOpenSettings())
        return {};
    return settings().value(stored(section) + u'/' + key).toString();
}

// Only a key that is missing is known without QSettings: a list is left to it to read.
QStringList SettingsStore::readList(const QString &section, const QString &key) const
{
    if (const StoredSection *remembered = rememberedSection(section);
        remembered && !remembered->contains(key))
        return {};
    if (!canOpenSettings())
        return {};
    return settings().value(stored(section) + u'/' + key).toStringList();
}

// nullptr when only QSettings can tell: another section, QSettings open already, or a file that
// changed since.
const StoredSection *SettingsStore::rememberedSection(const QString &section) const
{
    if (!m_remembered || m_settings || section != QLatin1String(kSettingsSection))
        return nullptr;
    if (isStillFile(m_remembered->stamp))
        return &m_remembered->section;
    const std::optional<FileReading> read = readSettled();
    if (!read || !read->settled || read->bytes.size() != m_remembered->fileSize
        || qHash(read->bytes) != m_remembered->fileHash) {
        m_remembered.reset();
        return nullptr;
    }
    m_remembered->stamp = read->stamp;
    return &m_remembered->section;
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    return writeValue(section, key, value);
}

bool SettingsStore::writeList(const QString &section, const QString &key, const QStringList &values)
{
    return writeValue(section, key, values);
}

bool SettingsStore::writeValue(const QString &section, const QString &key, const QVariant &value)
{
    const QString group = stored(section);
    return change(group,
                  [&](QSettings &settings) { settings.setValue(group + u'/' + key, value); });
}

bool SettingsStore::deleteSection(const QString &section)
{
    const QString group = stored(section);
    return change(group, [&](QSettings &settings) { settings.remove(group); });
}

bool SettingsStore::change(const QString &group, const std::function<void(QSettings &)> &edit)
{
    if (backend() == Backend::IniFile)
        return changeFile(edit);
    if (!settings().isWritable())
        return false;
    // A QSettings reports its first error for good: after one, only a fresh object can tell
    // whether the next change reaches the disk.
    if (m_settings->status() != QSettings::NoError)
        m_settings = m_location.open();
    const QVariantMap before = groupValues(group);
    edit(*m_settings);
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

// Either the whole new file is on disk or the old one is left as it was. The change is made to
// the file as it is now, once any other writer has finished with it, not to what this store read
// earlier: a store read half-written would lose what the writer added after.
bool SettingsStore::changeFile(const std::function<void(QSettings &)> &edit)
{
    const FileSizeLimitAsError limitAsError;
    const QString &path = m_location.iniFile;
    if (cannotBeRead(path) || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    clearLeftoverLock();
    // The lock QSettings takes, so that another running copy does not write at the same time.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWait))
        return false;
    const std::optional<QByteArray> before = settledBytes();
    const std::optional<QByteArray> after = before ? editedCopy(*before, edit) : std::nullopt;
    if (!after || !replaceFile(path, *after))
        return false;
    // Made afresh when next needed: this one holds the file as it was.
    m_settings.reset();
    m_written = bytesFingerprint(*after);
    m_settledSize = after->size();
    return true;
}

// Every complete store ends a line: QSettings ends each one. An editor that rewrites the file in
// place empties it and writes it anew, part by part; a part that happens to end a line is told
// from a finished file only by being shorter than the store was when last seen whole. So a file
// that is cut off mid-line, or shorter than that, is taken as the store only once it has not
// changed for a while. nullopt when the file is there but cannot be read; a missing file reads
// as an empty, settled store.
std::optional<SettingsStore::FileReading> SettingsStore::readSettled() const
{
    FileReading read;
    read.stamp = stampOf(m_location.iniFile);
    if (read.stamp.size < 0)
        return read;
    QFile file(m_location.iniFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    read.bytes = file.readAll();
    read.settled = (read.bytes.endsWith('\n') && read.bytes.size() >= m_settledSize)
        || read.stamp.writtenLongBefore;
    if (read.settled)
        m_settledSize = read.bytes.size();
    return read;
}

SettingsStore::FileStamp SettingsStore::stampOf(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    const QDateTime modified = file.lastModified();
    return {file.size(), modified,
            modified.msecsTo(QDateTime::currentDateTime()) >= kSettleBound.count()};
}

// Any write after the stamp was taken leaves a later time behind.
bool SettingsStore::isStillFile(const FileStamp &stamp) const
{
    if (!stamp.writtenLongBefore)
        return false;
    const FileStamp now = stampOf(m_location.iniFile);
    return now.size == stamp.size && now.modified == stamp.modified;
}

// Waits, within a bound, for a file that someone is writing just now to be finished.
std::optional<QByteArray> SettingsStore::settledBytes() const
{
    const QDeadlineTimer deadline(kSettleBound);
    for (;;) {
        std::optional<FileReading> read = readSettled();
        if (!read)
            return std::nullopt;
        if (read->settled)
            return std::move(read->bytes);
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(kSettleLook.count());
    }
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
    // A line QSettings cannot read is left out, as the list at start-up leaves it out.
    if (fresh->status() == QSettings::AccessError)
        return false;
    m_settings = std::move(fresh);
    return true;
}

QByteArray SettingsStore::fingerprint() const
{
    if (backend() == Backend::Registry)
        return sectionsFingerprint(contentsThroughQSettings().value_or(QList<StoredSection>()));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QFile file(m_location.iniFile);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
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

// A file that is being written just now is read once it is finished; until then it reads as not
// readable, which leaves the list as it stands.
std::optional<QList<StoredSection>> SettingsStore::contents() const
{
    if (backend() == Backend::Registry) {
        std::optional<QList<StoredSection>> sections = contentsThroughQSettings();
        if (sections)
            m_listed = sectionsFingerprint(*sections);
        return sections;
    }
    std::optional<FileReading> read = currentReading();
    if (read && !read->settled)
        return std::nullopt;
    std::optional<QList<StoredSection>> sections = read ? contentsInOnePass(*read) : std::nullopt;
    if (!sections)
        sections = contentsThroughQSettings();
    if (sections && read)
        m_listed = read->fingerprint.isEmpty() ? bytesFingerprint(read->bytes) : read->fingerprint;
    return sections;
}

bool SettingsStore::isSettled() const
{
    if (backend() == Backend::Registry)
        return true;
    const std::optional<FileReading> read = readSettled();
    return !read || read->settled;
}

void SettingsStore::readAhead()
{
    if (backend() != Backend::IniFile || kSectionCase == Qt::CaseInsensitive)
        return;
    m_readAhead = std::async(std::launch::async, [path = m_location.iniFile] {
        FileReading ahead;
        ahead.stamp = stampOf(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return FileReading{};
        ahead.bytes = file.readAll();
        ahead.ini = namedIni(ahead.bytes);
        ahead.fingerprint = bytesFingerprint(ahead.bytes);
        return ahead;
    });
}

// The reading ahead while the file is still the one it read: then it is not read again. Else the
// file as it is now, which takes up what the reading ahead made of it if the bytes are the same.
std::optional<SettingsStore::FileReading> SettingsStore::currentReading() const
{
    std::optional<FileReading> ahead;
    if (m_readAhead.valid())
        ahead = m_readAhead.get();
    if (ahead && isStillFile(ahead->stamp)) {
        m_settledSize = ahead->bytes.size();
        return ahead;
    }
    std::optional<FileReading> read = readSettled();
    if (read && ahead && read->bytes == ahead->bytes) {
        read->ini = std::move(ahead->ini);
        read->fingerprint = std::move(ahead->fingerprint);
    }
    return read;
}

// Renamed here, which may run on the reading-ahead thread: the names are the bulk of a long list,
// and the thread that fills the list is spared going through every one of them.
std::optional<PlainIni> SettingsStore::namedIni(QByteArrayView bytes)
{
    std::optional<PlainIni> ini = readPlainIni(bytes);
    if (ini) {
        for (StoredSection &section : ini->sections)
            section.name = unescapeSection(section.name, Backend::IniFile);
    }
    return ini;
}

// Only a section of plain values is remembered: QSettings reads the others in its own way.
void SettingsStore::rememberSettings(const FileReading &read) const
{
    m_remembered.reset();
    const PlainIni &ini = *read.ini;
    const QString group = QString::fromLatin1(kSettingsSection);
    const bool plain = std::none_of(ini.otherValues.cbegin(), ini.otherValues.cend(),
                                    [&](const auto &other) { return other.group == group; });
    if (!plain)
        return;
    const auto found = std::find_if(
        ini.sections.cbegin(), ini.sections.cend(),
        [&](const StoredSection &section) { return section.name == group; });
    m_remembered = RememberedSettings{read.stamp, read.bytes.size(), qHash(read.bytes),
                                      found == ini.sections.cend() ? StoredSection{group, {}}
                                                                   : *found};
}

// nullopt leaves the file to QSettings: one in a shape of QSettings' own.
std::optional<QList<StoredSection>> SettingsStore::contentsInOnePass(FileReading &read) const
{
    // The one-pass reading tells names apart by letter case, as QSettings must do too.
    if (kSectionCase == Qt::CaseInsensitive)
        return std::nullopt;
    if (!read.ini)
        read.ini = namedIni(read.bytes);
    if (!read.ini)
        return std::nullopt;
    rememberSettings(read);
    for (const PlainIni::OtherValue &other : std::as_const(read.ini->otherValues)) {
        auto &[key, value] = read.ini->sections[other.section].values[other.value];
        value = settings().value(other.group + u'/' + key).toString();
    }
    return std::move(read.ini->sections);
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
