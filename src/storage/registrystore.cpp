// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/registrystore.h"

RegistryStore::RegistryStore(QString key)
    : m_key(std::move(key)),
      m_settings(open()),
      m_unreadable(m_settings->status() == QSettings::AccessError)
{ }

std::unique_ptr<QSettings> RegistryStore::open() const
{
    return std::make_unique<QSettings>(m_key, QSettings::NativeFormat);
}

QVariant RegistryStore::value(const QString &section, const QString &key) const
{
    return m_settings->value(escapeSection(section, backend()) + u'/' + key);
}

QString RegistryStore::read(const QString &section, const QString &key)
{
    return value(section, key).toString();
}

QStringList RegistryStore::readList(const QString &section, const QString &key)
{
    return value(section, key).toStringList();
}

bool RegistryStore::write(const QString &section, const QString &key, const QString &value)
{
    return writeValue(section, key, value);
}

bool RegistryStore::writeList(const QString &section, const QString &key, const QStringList &values)
{
    return writeValue(section, key, values);
}

bool RegistryStore::writeValue(const QString &section, const QString &key, const QVariant &value)
{
    const QString group = escapeSection(section, backend());
    return change(group,
                  [&](QSettings &settings) { settings.setValue(group + u'/' + key, value); });
}

bool RegistryStore::deleteSection(const QString &section)
{
    const QString group = escapeSection(section, backend());
    return change(group, [&](QSettings &settings) { settings.remove(group); });
}

bool RegistryStore::change(const QString &group, const std::function<void(QSettings &)> &edit)
{
    if (!m_settings->isWritable())
        return false;
    // A QSettings reports its first error for good: after one, only a fresh object can tell
    // whether the next change reaches the disk.
    if (m_settings->status() != QSettings::NoError)
        m_settings = open();
    const QVariantMap before = groupValues(group);
    edit(*m_settings);
    m_settings->sync();
    if (m_settings->status() != QSettings::AccessError) {
        m_written = fingerprint();
        return true;
    }
    // The write failed on its way. QSettings keeps the change it could not write in a cache that
    // every QSettings on the key in this process shares: reads would show it, and the next write
    // that succeeds would store it after all.
    restoreGroup(group, before);
    return false;
}

QVariantMap RegistryStore::groupValues(const QString &group) const
{
    QVariantMap values;
    m_settings->beginGroup(group);
    const QStringList keys = m_settings->allKeys();
    for (const QString &key : keys)
        values.insert(key, m_settings->value(key));
    m_settings->endGroup();
    return values;
}

void RegistryStore::restoreGroup(const QString &group, const QVariantMap &values)
{
    m_settings->remove(group);
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        m_settings->setValue(group + u'/' + value.key(), value.value());
}

std::optional<QList<StoredSection>> RegistryStore::contents()
{
    std::optional<QList<StoredSection>> sections = sectionsIn(*m_settings, backend());
    if (sections)
        m_listed = sectionsFingerprint(*sections);
    return sections;
}

// A fresh QSettings, since one reports its first error for good.
bool RegistryStore::reload()
{
    std::unique_ptr<QSettings> fresh = open();
    if (fresh->status() == QSettings::AccessError)
        return false;
    m_settings = std::move(fresh);
    return true;
}

QByteArray RegistryStore::fingerprint()
{
    return sectionsFingerprint(sectionsIn(*m_settings, backend()).value_or(QList<StoredSection>()));
}
