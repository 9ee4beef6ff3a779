// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/inistore.h"

#include "platform/regularfile.h"
#include "storage/initransaction.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

IniStore::IniStore(const QString &path, StoreTiming timing)
    : m_file(QFileInfo(path).absoluteFilePath(), timing.settle), // as QSettings names it
      m_timing(timing),
      m_unreadable(cannotBeRead(path))
{ }

QSettings &IniStore::settings()
{
    if (!m_settings)
        m_settings = std::make_unique<QSettings>(m_file.path(), QSettings::IniFormat);
    return *m_settings;
}

// QSettings is not first opened on a file it cannot read: that would empty the cache which every
// QSettings on the file in this process shares, and once the file is back unchanged, a later one
// would take it for that empty cache. Nor on one that is no regular file, which it would wait for.
bool IniStore::canOpenSettings()
{
    if (m_settings || !QFileInfo::exists(m_file.path()))
        return true;
    QFile file(m_file.path());
    return openRegularFile(file);
}

QVariant IniStore::value(const QString &section, const QString &key)
{
    if (!canOpenSettings())
        return {};
    return settings().value(escapeSection(section, backend()) + u'/' + key);
}

QString IniStore::read(const QString &section, const QString &key)
{
    if (const StoredSection *kept = sectionAtHand(section))
        return kept->value(key);
    return value(section, key).toString();
}

// Only a key that is missing is known without QSettings: a list is left to it to read.
QStringList IniStore::readList(const QString &section, const QString &key)
{
    if (const StoredSection *kept = sectionAtHand(section); kept && !kept->contains(key))
        return {};
    return value(section, key).toStringList();
}

// nullptr when only QSettings can tell: another section, QSettings open already, or a file that
// changed since.
const StoredSection *IniStore::sectionAtHand(const QString &section)
{
    if (!m_kept || m_settings || section != m_atHand)
        return nullptr;
    if (m_file.isStill(m_kept->stamp))
        return &m_kept->section;
    const std::optional<FileSnapshot> read = m_file.read();
    if (!read || !read->settled || read->bytes.size() != m_kept->fileSize
        || qHash(read->bytes) != m_kept->fileHash) {
        m_kept.reset();
        return nullptr;
    }
    m_kept->stamp = read->stamp;
    return &m_kept->section;
}

bool IniStore::write(const QString &section, const QString &key, const QString &value)
{
    return writeValue(section, key, value);
}

bool IniStore::writeList(const QString &section, const QString &key, const QStringList &values)
{
    return writeValue(section, key, values);
}

bool IniStore::writeValue(const QString &section, const QString &key, const QVariant &value)
{
    const QString group = escapeSection(section, backend());
    return change([&](QSettings &settings) { settings.setValue(group + u'/' + key, value); });
}

bool IniStore::deleteSection(const QString &section)
{
    const QString group = escapeSection(section, backend());
    return change([&](QSettings &settings) { settings.remove(group); });
}

bool IniStore::change(const std::function<void(QSettings &)> &edit)
{
    const std::optional<QByteArray> after = changeIniFile(m_file, m_timing, edit);
    if (!after)
        return false;
    // Made afresh when next needed: this one holds the file as it was.
    m_settings.reset();
    m_written = bytesFingerprint(*after);
    return true;
}

// A file that is being written just now is read once it is finished; until then it reads as not
// readable, which leaves the list as it stands.
std::optional<QList<StoredSection>> IniStore::contents()
{
    std::optional<FileSnapshot> read = currentReading();
    if (read && !read->settled)
        return std::nullopt;
    std::optional<QList<StoredSection>> sections = read ? contentsInOnePass(*read) : std::nullopt;
    if (!sections && canOpenSettings())
        sections = sectionsIn(settings(), backend());
    if (sections && read)
        m_listed = read->fingerprint.isEmpty() ? bytesFingerprint(read->bytes) : read->fingerprint;
    return sections;
}

bool IniStore::isSettled()
{
    const std::optional<FileSnapshot> read = m_file.read();
    return !read || read->settled;
}

void IniStore::readAhead()
{
    // The one-pass reading tells names apart by letter case, as QSettings must do too.
    if (kSectionCase == Qt::CaseSensitive)
        m_readAhead = m_file.readAhead(&IniStore::namedIni);
}

// The reading ahead while the file is still the one it read: then it is not read again. Else the
// file as it is now, which takes up what the reading ahead made of it if the bytes are the same.
std::optional<FileSnapshot> IniStore::currentReading()
{
    std::optional<FileSnapshot> ahead;
    if (m_readAhead.valid())
        ahead = m_readAhead.get();
    if (ahead && m_file.isStill(ahead->stamp)) {
        m_file.sawWhole(ahead->bytes.size());
        return ahead;
    }
    std::optional<FileSnapshot> read = m_file.read();
    if (read && ahead && read->bytes == ahead->bytes) {
        read->ini = std::move(ahead->ini);
        read->fingerprint = std::move(ahead->fingerprint);
    }
    return read;
}

// Renamed here, which may run on the reading-ahead thread: the names are the bulk of a long list,
// and the thread that fills the list is spared going through every one of them.
std::optional<PlainIni> IniStore::namedIni(QByteArrayView bytes)
{
    std::optional<PlainIni> ini = readPlainIni(bytes);
    if (ini) {
        for (StoredSection &section : ini->sections)
            section.name = unescapeSection(section.name, StoreBackend::IniFile);
    }
    return ini;
}

// Only a section of plain values is kept: QSettings reads the others in its own way.
void IniStore::keepSectionAtHand(const FileSnapshot &read)
{
    m_kept.reset();
    if (m_atHand.isEmpty())
        return;
    const PlainIni &ini = *read.ini;
    const QString group = escapeSection(m_atHand, backend());
    const bool plain = std::none_of(ini.otherValues.cbegin(), ini.otherValues.cend(),
                                    [&](const auto &other) { return other.group == group; });
    if (!plain)
        return;
    const auto found = std::find_if(
        ini.sections.cbegin(), ini.sections.cend(),
        [&](const StoredSection &section) { return section.name == m_atHand; });
    m_kept = SectionAtHand{read.stamp, read.bytes.size(), qHash(read.bytes),
                           found == ini.sections.cend() ? StoredSection{m_atHand, {}} : *found};
}

// nullopt leaves the file to QSettings: one in a shape of QSettings' own.
std::optional<QList<StoredSection>> IniStore::contentsInOnePass(FileSnapshot &read)
{
    if (kSectionCase == Qt::CaseInsensitive)
        return std::nullopt;
    if (!read.ini)
        read.ini = namedIni(read.bytes);
    if (!read.ini)
        return std::nullopt;
    keepSectionAtHand(read);
    for (const PlainIni::OtherValue &other : std::as_const(read.ini->otherValues)) {
        auto &[key, value] = read.ini->sections[other.section].values[other.value];
        value = settings().value(other.group + u'/' + key).toString();
    }
    return std::move(read.ini->sections);
}

bool IniStore::reload()
{
    if (cannotBeRead(m_file.path()))
        return false;
    auto fresh = std::make_unique<QSettings>(m_file.path(), QSettings::IniFormat);
    // A line QSettings cannot read is left out, as the list at start-up leaves it out.
    if (fresh->status() == QSettings::AccessError)
        return false;
    m_settings = std::move(fresh);
    return true;
}
