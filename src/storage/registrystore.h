// SPDX-License-Identifier: GPL-3.0-or-later
// The store in a registry key (Windows), through QSettings' native format.
#pragma once

#include "storage/keyvaluestore.h"

#include <QSettings>
#include <QVariantMap>

#include <functional>
#include <memory>

// Opened by its full path, that key alone is read: no fallback to other keys of the system's.
class RegistryStore final : public KeyValueStore
{
public:
    explicit RegistryStore(QString key);

    StoreBackend backend() const override { return StoreBackend::Registry; }
    QString fileName() const override { return m_settings->fileName(); }
    bool isUnreadable() const override { return m_unreadable; }
    QString read(const QString &section, const QString &key) override;
    QStringList readList(const QString &section, const QString &key) override;
    bool write(const QString &section, const QString &key, const QString &value) override;
    bool writeList(const QString &section, const QString &key, const QStringList &values) override;
    bool deleteSection(const QString &section) override;
    std::optional<QList<StoredSection>> contents() override;
    // The registry is never half written.
    bool isSettled() override { return true; }
    bool reload() override;
    QByteArray fingerprint() override;

private:
    std::unique_ptr<QSettings> open() const;
    QVariant value(const QString &section, const QString &key) const;
    bool writeValue(const QString &section, const QString &key, const QVariant &value);
    bool change(const QString &group, const std::function<void(QSettings &)> &edit);
    QVariantMap groupValues(const QString &group) const;
    void restoreGroup(const QString &group, const QVariantMap &values);

    const QString m_key;
    std::unique_ptr<QSettings> m_settings;
    bool m_unreadable = false;
};
