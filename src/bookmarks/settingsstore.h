// The per-user settings store: sections of text keys under the application "Brinemoor".
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

inline constexpr char kSettingsSection[] = "settings";
inline constexpr char kGamePathKey[] = "codpath";
inline constexpr char kAddressKey[] = "ip";
inline constexpr char kPasswordKey[] = "password";

// Reads, writes, deletes and lists sections. Section names go through an escaping that lets any
// text a user types come back unchanged; QSettings alone would nest names at "/" and "\" and fold
// every letter case of "general" into one section.
class SettingsStore final
{
public:
    // Where the sections are kept: an INI file, or the Windows registry, whose key names may hold
    // "/" but not "\".
    enum class Backend { IniFile, Registry };

    explicit SettingsStore(std::unique_ptr<QSettings> settings);

    // The user's own store: the registry on Windows, an INI file in the configuration folder
    // elsewhere.
    static std::unique_ptr<QSettings> openUserSettings();
    static std::unique_ptr<QSettings> openIniFile(const QString &path);

    QString read(const QString &section, const QString &key) const;
    // Both return false when the change could not be made lasting (the file is not writable); the
    // store then reads as it did before the call, and the change is not written later either.
    bool write(const QString &section, const QString &key, const QString &value);
    bool deleteSection(const QString &section);

    // Appends the section names, as the user typed them, in the store's order to KeyNames; with
    // `recursive`, each section's own subsections follow it (their bare names).
    void enumkeys(bool recursive, QStringList &KeyNames);

    QString fileName() const { return m_settings->fileName(); }
    Backend backend() const;
    // The settings file, or a folder on its path, is there but could not be read when the store
    // was opened. Writes fail then too (QSettings reads the file before it writes it), so the
    // store stays as the user has it.
    bool isUnreadable() const { return m_unreadable; }

    // Whether two names address one section: on Windows the registry ignores letter case.
    bool isSameSection(const QString &a, const QString &b) const;

    // A section name as the user typed it, and as QSettings is given it, both ways.
    static QString escapeSection(const QString &name, Backend backend);
    static QString unescapeSection(const QString &stored, Backend backend);

    // Reads the store afresh, as another process or the user may have changed it; false when it
    // cannot be read now, which leaves what was read before.
    bool reload();
    // Every key of every section, with its value, as stored.
    QVariantMap contents() const;

private:
    void clearLeftoverLock() const;
    bool change(const QString &group, const std::function<void()> &edit);
    QVariantMap groupValues(const QString &group) const;
    void restoreGroup(const QString &group, const QVariantMap &values);
    QString stored(const QString &section) const;
    void enumerateGroup(bool recursive, QStringList &KeyNames);

    std::unique_ptr<QSettings> m_settings;
    bool m_unreadable = false;
};
