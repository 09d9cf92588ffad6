// The path bar and its history: going to a typed path, stepping through the history, the path-list file.
#include "app/ListFile.h"
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/PrivateDir.h"
#include "platform/Services.h"
#include "ui/Dialogs.h"
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollArea>
#include <QStatusBar>
#include <QUrl>
#include <QWindow>

void TOrvo::showMissing(const QString& text)
{
    ui::Dialogs::get().error(this, text + QStringLiteral("  不存在！"));
}

QString TOrvo::pathBarFolder(bool anyLength)
{
    QString text = pathbox->currentText();
    // "/" is the root of the file system, so the one-character rule spares it.
    if (text.isEmpty() || (text.size() == 1 && !anyLength && text != QLatin1String("/")))
        return {};
    text = plat::path::withTrailingSep(text);
    if (!plat::path::isDirectory(text)) {
        showMissing(text);
        return {};
    }
    return text;
}

void TOrvo::pathboxKeyPress()
{
    ToolButton3Click();
}

void TOrvo::ToolButton3Click()
{
    const QString folder = pathBarFolder();
    if (folder.isEmpty())
        return;
    setTreePath(folder);
    m_targetFolder = folder;
    treeDrivenList()->setDirectory(folder);
}

void TOrvo::pathboxDblClick()
{
    const QString text = pathbox->currentText();
    if (text.toUpper() == QLatin1String("DRIVES")) {
        LsFilelistView281->setDirectory(QStringLiteral("DRIVES"));
        LsFilelistView282->setDirectory(QStringLiteral("DRIVES"));
        return;
    }
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    setTreePath(folder);
    m_targetFolder = folder;
    LsFilelistView281->setDirectory(text);
    LsFilelistView282->setDirectory(text);
}

void TOrvo::pathboxSelect(int index)
{
    const QString text = pathbox->itemText(index);
    m_historyIndex = index;
    if (!plat::path::isDirectory(text)) {
        showMissing(text);
        return;
    }
    treeDrivenList()->setDirectory(text);
}

void TOrvo::stepHistory(int delta)
{
    int next = m_historyIndex + delta;
    if (m_historyIndex < 0)
        next = delta < 0 ? -1 : 0;   // nothing current: back selects nothing, forward the first
    if (next < 0 || next >= pathbox->count())
        next = -1;
    m_historyIndex = next;
    pathbox->setCurrentIndex(next);
    const QString text = next >= 0 ? pathbox->itemText(next) : QString();
    pathbox->setEditText(text);
    setTreePath(text);
    treeDrivenList()->setDirectory(text);
}

void TOrvo::up1Click()
{
    stepHistory(-1);
}

void TOrvo::down1Click()
{
    stepHistory(+1);
}

void TOrvo::openInList(TLsFilelistView28* list)
{
    const QString text = pathbox->currentText();
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    m_targetFolder = folder;
    list->setDirectory(text);
    // The tree now drives that list, as when the list's folder combo changes path.
    ScrollBox1->hide();
    setFv(list == LsFilelistView282);
    fvClick();
}

void TOrvo::openpath1Click()
{
    openInList(LsFilelistView281);
}

void TOrvo::CustomItem41Click()
{
    openInList(LsFilelistView282);
}

void TOrvo::ComboBox2Click()
{
    const QString text = pathbox->currentText();
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    setTreePath(folder);
    m_targetFolder = text;
}

void TOrvo::J1Click()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && data->hasText())
        pathbox->setEditText(data->text());
}

QStringList TOrvo::history() const
{
    QStringList items;
    for (int i = 0; i < pathbox->count(); ++i)
        items.append(pathbox->itemText(i));
    return items;
}

void TOrvo::addHistoryOnce(const QString& folder)
{
    if (!history().contains(folder, Qt::CaseSensitive))
        pathbox->addItem(folder);
}

void TOrvo::Addpath1_oldClick()
{
    const QString text = pathbox->currentText();
    if (text.size() <= 1 && text != QLatin1String("/"))
        return;
    if (!plat::path::isDirectory(text))
        return;
    const QString keep = pathbox->currentText();
    pathbox->addItem(text);   // no duplicate check: adding twice adds twice
    pathbox->setEditText(keep);
}

void TOrvo::Deletepath1_oldClick()
{
    const QString text = pathbox->currentText();
    for (int i = 0; i < pathbox->count(); ++i) {
        if (pathbox->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            pathbox->removeItem(i);
            if (m_historyIndex >= pathbox->count())
                m_historyIndex = -1;
            pathbox->setEditText(text);
            return;
        }
    }
}

void TOrvo::cls1_oldClick()
{
    const QString text = pathbox->currentText();
    pathbox->clear();
    m_historyIndex = -1;
    pathbox->setEditText(text);
}

void TOrvo::save1_oldClick()
{
    savePathList();
}

void TOrvo::load1_oldClick()
{
    if (!app::listFileExists(app::kPathListFile)) {
        ui::Dialogs::get().message(this, QStringLiteral("文件不存在!"));
        return;
    }
    loadPathList();
    m_historyIndex = -1;
}

void TOrvo::CustomItem15Click()
{
    if (!app::listFileExists(app::kPathListFile))
        savePathList();
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(QUrl::fromLocalFile(plat::privateDir() + app::kPathListFile));
}

void TOrvo::N8Click()
{
    app::removeListFile(app::kPathListFile);
}

void TOrvo::CustomItem44Click()
{
    const QString folder = plat::path::withTrailingSep(pathbox->currentText());
    if (plat::ILauncher* launcher = plat::services().launcher; launcher && plat::path::isDirectory(folder))
        launcher->openUrl(QUrl::fromLocalFile(folder));
}

// Enter and double clicks in the path bar and the filter box; dragging the window by its status bar.
bool TOrvo::eventFilter(QObject* watched, QEvent* event)
{
    try {
        const bool pathEdit = pathbox && watched == pathbox->lineEdit();
        const bool maskEdit = Mask1 && watched == Mask1->lineEdit();
        if ((pathEdit || maskEdit) && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (pathEdit)
                    pathboxKeyPress();
                else
                    Mask1KeyPress();
                return true;
            }
        }
        if ((pathEdit || maskEdit) && event->type() == QEvent::MouseButtonDblClick) {
            if (pathEdit)
                pathboxDblClick();
            else
                Mask1DblClick();
            return true;
        }
        if (watched == StatusBar1 && event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (QWindow* w = windowHandle())
                w->startSystemMove();
            return true;
        }
    } catch (const std::exception& e) {
        ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
