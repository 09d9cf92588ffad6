#pragma once
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

namespace process {

// Icons of running programs from the desktop entries: an executable whose name matches an entry's
// Exec or TryExec program, or its file name, gets the entry's Icon; a window class matches the
// StartupWMClass or the entry's file name. Everything else gets the default application icon. The
// entries are read once, on first use; the lookups are thread-safe.
class ExecutableIcons {
public:
    // The entries of the XDG application folders.
    static ExecutableIcons& instance();
    explicit ExecutableIcons(QStringList applicationFolders);

    static QString defaultKey() { return QStringLiteral("application-x-executable"); }
    // Theme icon name for an executable name or path; empty when no entry matches.
    QString iconKey(const QString& executable);
    // Theme icon name for a window class; empty when no entry matches.
    QString classIconKey(const QString& windowClass);
    // plat::iconIndex of the matching key, else of the default key.
    int iconIndex(const QString& executable);
    int windowIconIndex(const QString& windowClass, const QString& executable);

private:
    void load();
    void readEntry(const QString& file);

    QStringList m_folders;
    QMutex m_mutex;
    bool m_loaded = false;
    QHash<QString, QString> m_byProgram;   // executable file name -> icon
    QHash<QString, QString> m_byClass;     // lower-cased class or entry name -> icon
};

} // namespace process
