#include "filelist/engine/ListLaunch.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/ShellInfo.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include "platform/posix/EntryOps.h"
#include "platform/posix/Executable.h"
#include <cerrno>

namespace filelist {

namespace path = plat::path;

const QStringList& quickViewExtensions()
{
    static const QStringList t = {
        QStringLiteral(".TXT"), QStringLiteral(".INI"), QStringLiteral(".REG"), QStringLiteral(".C"),
        QStringLiteral(".CPP"), QStringLiteral(".DPK"), QStringLiteral(".DPR"), QStringLiteral(".H"),
        QStringLiteral(".INF"), QStringLiteral(".PAS"), QStringLiteral(".BMP"), QStringLiteral(".JPG"),
        QStringLiteral(".GIF"), QStringLiteral(".RTF"), QStringLiteral(".WRI"),
    };
    return t;
}

int quickViewIndex(const QString& p)
{
    const QString ext = path::extOf(path::namePart(p)).toUpper();
    return ext.isEmpty() ? -1 : int(quickViewExtensions().indexOf(ext));
}

const QStringList& clipPictureExtensions()
{
    static const QStringList t = {
        QStringLiteral(".BMP"), QStringLiteral(".JPG"), QStringLiteral(".ICO"), QStringLiteral(".GIF"),
        QStringLiteral(".DCX"), QStringLiteral(".DIB"), QStringLiteral(".ICB"), QStringLiteral(".JPEG"),
        QStringLiteral(".PCX"), QStringLiteral(".PNG"), QStringLiteral(".TGA"), QStringLiteral(".TIF"),
        QStringLiteral(".VDA"), QStringLiteral(".VST"), QStringLiteral(".IFF"), QStringLiteral(".RAS"),
        QStringLiteral(".SGI"), QStringLiteral(".PSD"), QStringLiteral(".RSB"), QStringLiteral(".WMF"),
        QStringLiteral(".EMF"),
    };
    return t;
}

const QStringList& clipTextExtensions()
{
    static const QStringList t = {
        QStringLiteral(".txt"), QStringLiteral(".doc"), QStringLiteral(".log"), QStringLiteral(".ini"),
        QStringLiteral(".inf"), QStringLiteral(".reg"), QStringLiteral(".bat"), QStringLiteral(".pas"),
        QStringLiteral(".wri"), QStringLiteral(".rtf"), QStringLiteral(".inc"),
    };
    return t;
}

bool isClipPicture(const QString& p)
{
    const QString ext = path::extOf(path::namePart(p)).toUpper();
    return !ext.isEmpty() && clipPictureExtensions().contains(ext);
}

bool isClipText(const QString& p)
{
    const QString ext = path::extOf(path::namePart(p)).toUpper();
    if (ext.isEmpty())
        return false;
    for (const QString& t : clipTextExtensions()) {
        if (t.toUpper() == ext)
            return true;
    }
    return false;
}

std::optional<ViewerCommand> quickViewer(int index)
{
    static const QList<ViewerCommand> text = {
        {QStringLiteral("gnome-text-editor"), {}}, {QStringLiteral("gedit"), {}}, {QStringLiteral("kate"), {}},
        {QStringLiteral("kwrite"), {}}, {QStringLiteral("mousepad"), {}}, {QStringLiteral("xed"), {}},
        {QStringLiteral("pluma"), {}},
    };
    static const QList<ViewerCommand> picture = {
        {QStringLiteral("kolourpaint"), {}}, {QStringLiteral("pinta"), {}}, {QStringLiteral("gimp"), {}},
    };
    static const QList<ViewerCommand> rich = {
        {QStringLiteral("libreoffice"), {QStringLiteral("--writer")}}, {QStringLiteral("abiword"), {}},
    };
    const QList<ViewerCommand>* candidates = nullptr;
    if (index >= 0 && index <= 9)
        candidates = &text;
    else if (index >= 10 && index <= 12)
        candidates = &picture;
    else if (index >= 13 && index <= 14)
        candidates = &rich;
    if (!candidates)
        return std::nullopt;
    for (const ViewerCommand& c : *candidates) {
        const QString found = QStandardPaths::findExecutable(c.program);
        if (!found.isEmpty())
            return ViewerCommand{found, c.args};
    }
    return std::nullopt;
}

bool isExecutableProgram(const QString& p)
{
    return plat::posix::isElfProgram(p);
}

int executeFile(const QString& verb, const QString& file, const QStringList& params, const QString& dir)
{
    plat::ILauncher* launcher = plat::services().launcher;
    if (!launcher || file.isEmpty())
        return kExecuteFailed;
    bool ok = false;
    if (!params.isEmpty())
        ok = launcher->startDetached(file, params, dir);
    else if (isExecutableProgram(file))
        ok = launcher->startDetached(file, {}, dir);
    else
        ok = launcher->openUrl(QUrl::fromLocalFile(file));
    return ok ? kExecuteStarted : kExecuteFailed;
}

QString sendToFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orvo/SendTo/");
}

namespace {

// The Name= of a desktop entry's main group, with the Desktop Entry escapes undone.
QString desktopEntryName(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    bool inMain = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine(64 * 1024)).trimmed();
        if (line.startsWith(u'[')) {
            inMain = line == u"[Desktop Entry]";
            continue;
        }
        if (inMain && line.startsWith(QLatin1String("Name="))) {
            QString v = line.mid(5).trimmed();
            v.replace(QLatin1String("\\s"), QLatin1String(" "));
            v.replace(QLatin1String("\\n"), QLatin1String("\n"));
            v.replace(QLatin1String("\\t"), QLatin1String("\t"));
            v.replace(QLatin1String("\\\\"), QLatin1String("\\"));
            return v;
        }
    }
    return QString();
}

QString escapeDesktopValue(const QString& v)
{
    QString out;
    for (QChar c : v) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QList<SendToShortcut> sendToShortcuts()
{
    QList<SendToShortcut> out;
    const QDir dir(sendToFolder());
    const QStringList names = dir.entryList({QStringLiteral("*.desktop")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& n : names) {
        const QString p = dir.filePath(n);
        QString caption = desktopEntryName(p);
        if (caption.isEmpty())
            caption = n.chopped(8);
        out.append({caption, p});
    }
    return out;
}

QByteArray desktopLinkText(const QString& target)
{
    const QString t = path::withoutTrailingSep(target);
    const bool dir = path::isDirectory(t);
    QString text = QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Link\n");
    text += QStringLiteral("Name=") + escapeDesktopValue(path::namePart(t)) + u'\n';
    text += QStringLiteral("URL=") + QString::fromLatin1(QUrl::fromLocalFile(t).toEncoded()) + u'\n';
    text += QStringLiteral("Icon=") + escapeDesktopValue(plat::ShellInfo::iconKey(path::namePart(t), dir)) + u'\n';
    return text.toUtf8();
}

QString writeDesktopLink(const QString& target, const QString& desktopDir)
{
    const QString name = path::namePart(path::withoutTrailingSep(target));
    if (name.isEmpty() || !path::isDirectory(desktopDir))
        return QString();
    const QString final = path::withTrailingSep(desktopDir) + name + QStringLiteral(".desktop");
    // A fresh file renamed over the old name: a link found there is replaced, never written through.
    QTemporaryFile tmp(path::withTrailingSep(desktopDir) + QStringLiteral(".orvo-link-XXXXXX"));
    if (!tmp.open())
        return QString();
    const QByteArray text = desktopLinkText(target);
    if (tmp.write(text) != text.size() || !tmp.flush())
        return QString();
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (plat::posix::renameOver(tmp.fileName(), final))
        return QString();
    tmp.setAutoRemove(false);
    return final;
}

int propertiesError(const QString& p)
{
    if (plat::posix::entryExists(p))
        return 0;
    if (errno == EACCES)
        return 5;
    const QString parent = path::folderPart(path::withoutTrailingSep(p));
    return path::isDirectory(parent) ? 2 : 3;
}

QString shellErrorText(int code)
{
    switch (code) {
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("Access denied");
    case 8: return QStringLiteral("Not enough memory for this operation");
    case 32: return QStringLiteral("Sharing violation");
    case 1155: return QStringLiteral("There is no application associated with the given filename extension.");
    case 1156: return QStringLiteral("The DDE transaction failed.");
    case 1157: return QStringLiteral("DLL not found");
    case 1223:
        return QStringLiteral("The function prompted the user for the location of the application, but the user "
                              "cancelled the request.");
    default: return QString();
    }
}

} // namespace filelist
