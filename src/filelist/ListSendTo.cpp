// Send to: a folder, the clipboard (contents or path names) or a desktop link.
#include "filelist/engine/ListLaunch.h"
#include "filelist/FileListView.h"
#include "filelist/SendToDialog.h"
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/FileOpTypes.h"
#include "fileops/engine/FileOperation.h"
#include "platform/Path.h"
#include "platform/TextDecode.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QMimeData>
#include <QStandardPaths>
#include <QTextDocument>
#include <algorithm>

namespace path = plat::path;

namespace {

// The folder chosen in the send-to dialog or its folder browser; empty when nothing is to be sent.
QString chooseSendToFolder(QWidget* owner, const QString& current)
{
    SendToDialog dialog(owner);
    QString folder;
    switch (dialog.run(folder)) {
    case SendToDialog::Cancelled:
        return QString();
    case SendToDialog::Browse:
        folder = ui::Dialogs::get().chooseFolder(owner, QStringLiteral("请选定一个目录"), current);
        return folder.isEmpty() ? QString() : path::withTrailingSep(folder);
    case SendToDialog::Typed:
        break;
    }
    const QString typed = dialog.Edit1->text();
    // A relative path names a folder below the list's own, as the original's current folder did.
    const QString abs = typed.isEmpty() ? QString()
                                        : (QDir::isAbsolutePath(typed) ? typed : QDir(current).absoluteFilePath(typed));
    if (abs.isEmpty() || !path::isDirectory(abs)) {
        ui::Dialogs::get().error(owner, QStringLiteral("路径不存在。 "));
        return QString();
    }
    return path::withTrailingSep(abs);
}

// Puts a picture or a text file on the clipboard; false with the reason when it cannot be read.
bool contentsToClipboard(const QString& file, QString& reason)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (filelist::isClipPicture(file)) {
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull()) {
            reason = reader.errorString();
            return false;
        }
        clipboard->setImage(image);
        return true;
    }
    if (!filelist::isClipText(file))
        return true;
    ui::WaitCursor busy;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        reason = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    auto* data = new QMimeData;
    if (bytes.startsWith("{\\rtf")) {
        data->setData(QStringLiteral("text/rtf"), bytes);
    } else {
        QTextDocument doc;
        doc.setPlainText(plat::decodeText(bytes));
        data->setText(doc.toPlainText());
        data->setHtml(doc.toHtml());
    }
    clipboard->setMimeData(data);
    return true;
}

} // namespace

void TLsFilelistView28::SendTo(int mode)
{
    QWidget* owner = dialogOwner();
    const QList<fileops::ListItem> items = selectedItems();
    switch (mode) {
    case 0: {
        const QString folder = chooseSendToFolder(owner, Directory());
        if (folder.isEmpty() || !path::isDirectory(Directory()))
            return;
        Transfer.ClipList.clear();
        for (const fileops::ListItem& item : items) {
            if (!item.isDriveOrParent())
                Transfer.ClipList << item.path;
        }
        fileops::DialogsPrompter prompter(owner);
        for (const QString& source : Transfer.ClipList) {
            fileops::ShellFileOperation(prompter, fileops::FO_COPY, false, {source},
                                        {folder + path::namePart(path::withoutTrailingSep(source))});
        }
        Transfer.ClipList.clear();
        return;
    }
    case 1: {
        if (items.isEmpty() || items.first().kind != QLatin1String("file"))
            return;
        QString reason;
        if (!contentsToClipboard(items.first().path, reason))
            ui::Dialogs::get().error(owner, reason);
        return;
    }
    case 2: {
        QStringList paths;
        for (const fileops::ListItem& item : items)
            paths << item.path;
        if (!paths.isEmpty())
            QGuiApplication::clipboard()->setText(paths.join(u'\n'));
        return;
    }
    case 3: {
        const auto it = std::find_if(items.begin(), items.end(), [](const auto& i) { return !i.isDriveOrParent(); });
        if (it == items.end()) {
            ui::Dialogs::get().error(owner, QStringLiteral("无文件选择"));
            return;
        }
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (filelist::writeDesktopLink(it->path, desktop).isEmpty())
            return;
        if (path::samePath(Directory(), path::normalizeFolder(desktop)))
            UpdateFileList();
        return;
    }
    default:
        // The send-to folder's own shortcuts are listed for the user but start nothing.
        return;
    }
}
