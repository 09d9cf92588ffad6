#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// The per-user settings of the program and its desktop integration:
// - the INI file $XDG_CONFIG_HOME/orvo/orvo.ini, group "SOFTWARE/Orvo 文件管理器" (colours and present-means-on flags);
// - the autostart entry $XDG_CONFIG_HOME/autostart/orvo.desktop;
// - the "open with" entries $XDG_DATA_HOME/applications/orvo-folder.desktop and orvo-drive.desktop.
// Every writer syncs at once and returns false when the change did not reach the disk; lastError() then says why.
class SettingsStore {
public:
    static const QString kTitle;        // "Orvo 文件管理器"
    static const QString kGroup;        // "SOFTWARE/" + kTitle

    // Colour values (0x00BBGGRR or 0xFF000000 | system colour index) and their defaults.
    static constexpr qint32 kDefaultMainColor = 0xC0DCC0;
    static constexpr qint32 kDefaultWhite = 0xFFFFFF;

    SettingsStore();

    static QString iniPath();
    static QString autostartPath();
    static QString folderMenuPath();
    static QString driveMenuPath();

    // True when the INI file could be read without error (a missing file is fine).
    bool readable() const;

    // The stored colour; nullopt when absent. Sets *bad when a value exists but is no 32-bit integer.
    std::optional<qint32> color(const QString& name, bool* bad = nullptr) const;
    bool hasFlag(const QString& name) const;

    bool writeFlag(const QString& name, bool on);
    bool writeColor(const QString& name, qint32 value);

    bool autostartExists() const;
    // On: writes the entry only when it does not exist yet; off: deletes it.
    bool setAutostart(bool on, const QString& executable);

    bool contextMenuExists() const;     // the folder entry only; the drive entry is never tested
    bool setContextMenu(bool on, const QString& executable);

    // Removes the settings group, the autostart entry and both context-menu entries.
    // Goes on past a failure; returns false when anything stayed, lastError() telling the first.
    bool removeAll();

    QString lastError() const { return m_error; }

    // Desktop Entry "Exec" argument: quoted, with ", `, $ and \ escaped and % doubled, then string-escaped.
    static QString quoteExecArg(const QString& arg);

private:
    bool fail(const QString& message);
    bool verifyKey(const QString& name, std::optional<qint32> expected) const;
    bool writeDesktopFile(const QString& path, const QString& contents);
    bool removeFile(const QString& path);
    QString m_error;
};
