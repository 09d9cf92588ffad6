#include "tools/process/engine/ExecutableIcons.h"
#include "platform/IconKeys.h"
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

namespace process {

namespace {

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The program of an Exec line: its first word that is not "env" or a variable assignment, unquoted.
QString programOf(const QString& exec)
{
    const QStringList words = exec.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString w = words[i];
        if ((i == 0 && w == QLatin1String("env")) || (i > 0 && words[0] == QLatin1String("env") && w.contains(u'=')))
            continue;
        if (w.startsWith(u'"'))
            w = w.mid(1);
        if (w.endsWith(u'"'))
            w.chop(1);
        return fileNamePart(w);
    }
    return {};
}

} // namespace

ExecutableIcons& ExecutableIcons::instance()
{
    static ExecutableIcons icons(QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation));
    return icons;
}

ExecutableIcons::ExecutableIcons(QStringList applicationFolders) : m_folders(std::move(applicationFolders)) {}

void ExecutableIcons::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    for (const QString& folder : std::as_const(m_folders)) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            readEntry(it.next());
    }
}

// The first entry for a name wins, as the first folder of the search path takes precedence.
void ExecutableIcons::readEntry(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    bool inEntry = false;
    QString icon, exec, tryExec, wmClass;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.first(eq).trimmed();
        const QString value = line.sliced(eq + 1).trimmed();
        if (key == QLatin1String("Icon"))
            icon = value;
        else if (key == QLatin1String("Exec"))
            exec = value;
        else if (key == QLatin1String("TryExec"))
            tryExec = value;
        else if (key == QLatin1String("StartupWMClass"))
            wmClass = value;
    }
    // Icons given as file paths need a loader of their own; theme names only.
    if (icon.isEmpty() || icon.contains(u'/'))
        return;
    QString id = fileNamePart(file);
    id.chop(int(qstrlen(".desktop")));
    for (const QString& program : {programOf(exec), fileNamePart(tryExec), id})
        if (!program.isEmpty() && !m_byProgram.contains(program))
            m_byProgram.insert(program, icon);
    for (const QString& cls : {wmClass.toLower(), id.toLower()})
        if (!cls.isEmpty() && !m_byClass.contains(cls))
            m_byClass.insert(cls, icon);
}

QString ExecutableIcons::iconKey(const QString& executable)
{
    QMutexLocker lock(&m_mutex);
    load();
    return m_byProgram.value(fileNamePart(executable));
}

QString ExecutableIcons::classIconKey(const QString& windowClass)
{
    QMutexLocker lock(&m_mutex);
    load();
    return m_byClass.value(windowClass.toLower());
}

int ExecutableIcons::iconIndex(const QString& executable)
{
    const QString key = iconKey(executable);
    return plat::iconIndex(key.isEmpty() ? defaultKey() : key);
}

int ExecutableIcons::windowIconIndex(const QString& windowClass, const QString& executable)
{
    QString key = classIconKey(windowClass);
    if (key.isEmpty() && !executable.isEmpty())
        key = iconKey(executable);
    return plat::iconIndex(key.isEmpty() ? defaultKey() : key);
}

} // namespace process
