// SPDX-License-Identifier: GPL-3.0-or-later
// The store tests' one fixture: a settings file in a temporary folder (or, on Windows only, a
// registry key of its own), opened as the program opens it, and changed from outside as another
// running copy or an editor changes it.
#pragma once

#include "storage/keyvaluestore.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

class StoreFixture
{
public:
    // Where the store is kept: a settings file in the temporary folder, or a registry key of its
    // own under HKEY_CURRENT_USER, removed with the fixture.
    enum class Store { IniFile, Registry };

    explicit StoreFixture(Store store = Store::IniFile);
    ~StoreFixture();
    Q_DISABLE_COPY_MOVE(StoreFixture)

    // The settings file (or the registry key); write it before opening a store to prepare one.
    QString settingsPath() const;
    QString dirPath() const { return m_dir.path(); }
    // A fresh store on the settings file, with storeTiming's bounds.
    std::unique_ptr<KeyValueStore> reopenStore() const;

    // As an editor saves: the file emptied and written anew, or a new file put in its place.
    void writeInPlace(const QByteArray &bytes) const;
    void replaceWhole(const QByteArray &bytes) const;
    QByteArray fileBytes() const;

    // Bounds short enough that a test of waiting on another writer waits little, and still well
    // beyond the watch's quiet 200 ms.
    static constexpr StoreTiming kShortTiming{std::chrono::milliseconds(1000),
                                              std::chrono::milliseconds(1000),
                                              std::chrono::milliseconds(300)};
    // The bounds of every store the fixture opens; the program's own unless a test sets others.
    StoreTiming storeTiming;

private:
    QTemporaryDir m_dir;
    QString m_registryKey; // empty: the settings file
};
