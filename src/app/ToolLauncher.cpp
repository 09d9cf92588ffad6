#include "app/ToolLauncher.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/posix/Executable.h"
#include "tools/compare/CompareSelectWindow.h"
#include "tools/compress/CompressWindow.h"
#include "tools/md5/Md5Window.h"
#include "tools/process/ProcessWindow.h"
#include "tools/search/FindFilesWindow.h"
#include "tools/splitmerge/SplitMergeWindow.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace app {

// A companion program in `folder`: `name` without ".exe" first, then with it; a regular file this user may
// run. Empty when there is none.
QString companionProgram(const QString& name, const QString& folder)
{
    const QString base = (folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder) + u'/' + name;
    for (const QString& path : {base, QString(base + QStringLiteral(".exe"))}) {
        if (plat::posix::isExecutable(path))
            return path;
    }
    return {};
}

bool startCompanion(const QString& name, const QStringList& args)
{
    const QString path = companionProgram(name);
    if (path.isEmpty())
        return false;
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->startDetached(path, args);
    return true;
}

ToolLauncher::ToolLauncher(TOrvo& window) : m_w(window) {}

void ToolLauncher::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (ToolLauncher::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    m_w.A13 = command("A13", QStringLiteral("快速查找文件&A"), &ToolLauncher::ToolButton30Click);
    m_w.H8 = command("H8", QStringLiteral("文件分割或合并&H"), &ToolLauncher::ToolButton31Click);
    m_w.MD52 = command("MD52", QStringLiteral("MD5校验&M"), &ToolLauncher::md5WithSelection);
    m_w.P12 = command("P12", QStringLiteral("进程管理&P"), &ToolLauncher::P12Click);
    m_w.PAK1 = command("PAK1", QStringLiteral("文件压缩/解压缩&K"), &ToolLauncher::PAK1Click);
    m_w.B9 = command("B9", QStringLiteral("文件比较&B"), &ToolLauncher::B9Click);
}

void ToolLauncher::connectControls()
{
    const struct {
        QToolButton* button;
        void (ToolLauncher::*left)();
        void (ToolLauncher::*right)();
    } buttons[] = {
        {m_w.ToolButton29, &ToolLauncher::ToolButton29Click, &ToolLauncher::ToolButton29RightClick},
        {m_w.ToolButton30, &ToolLauncher::ToolButton30Click, &ToolLauncher::ToolButton30RightClick},
        {m_w.ToolButton31, &ToolLauncher::ToolButton31Click, &ToolLauncher::md5WithSelection},
    };
    for (const auto& b : buttons) {
        onClicked(&m_w, b.button, this, b.left);
        onRightClicked(&m_w, b.button, this, b.right);
    }
    // phint's right click offers the tool windows.
    m_w.PopupMenu5 = new QMenu(&m_w);
    m_w.PopupMenu5->setObjectName(QStringLiteral("PopupMenu5"));
    for (QAction* a : {m_w.A13, m_w.H8, m_w.MD52, m_w.P12, m_w.PAK1, m_w.B9})
        m_w.PopupMenu5->addAction(a);
    onRightClickMenu(m_w.phint, m_w.PopupMenu5);
    // The lists' find opens a search window on the list's folder.
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        list->OnFindInFolder = [self = QPointer<ToolLauncher>(this)](QObject*, const QString& folder) {
            if (!self)
                return;
            Tfindfiles* f = self->newSearchWindow();
            if (!folder.isEmpty())
                f->Location->setText(folder);
            showToolWindow(f);
        };
    }
}

bool ToolLauncher::runSwitch(const QString& lowerArg)
{
    static const struct {
        const char* text;
        void (ToolLauncher::*run)();
    } kSwitches[] = {
        {"/f", &ToolLauncher::switchSearch},     {"/p", &ToolLauncher::switchProcesses},
        {"/y", &ToolLauncher::switchCompress},   {"/h", &ToolLauncher::switchSplitMerge},
        {"/b", &ToolLauncher::switchCompare},    {"/m", &ToolLauncher::switchMd5},
    };
    for (const auto& s : kSwitches) {
        if (lowerArg == QLatin1String(s.text)) {
            (this->*s.run)();
            return true;
        }
    }
    return false;
}

void ToolLauncher::showToolWindow(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
}

// --- File search ---

Tfindfiles* ToolLauncher::newSearchWindow()
{
    auto* w = new Tfindfiles;
    const QPointer<TOrvo> self(&m_w);
    w->onShowInMainWindow = [self](const QString& folder) {
        if (self && self->treeDrivenList())
            self->treeDrivenList()->setDirectory(folder);
    };
    return w;
}

// Opens a new search window whose file-name field holds the file-name part of the transfer-list box text.
void ToolLauncher::switchSearch()
{
    Tfindfiles* w = newSearchWindow();
    w->Filename->setText(m_w.dirbox ? plat::path::namePart(m_w.dirbox->currentText()) : QString());
    showToolWindow(w);
}

void ToolLauncher::ToolButton30Click()
{
    if (!startCompanion(QStringLiteral("orvofindf")))
        switchSearch();
}

// --- File compare: "/b", the right button of ToolButton30 and "文件比较&B" each open a new selection window ---

void ToolLauncher::switchCompare()
{
    showToolWindow(new TFC);
}

void ToolLauncher::ToolButton30RightClick()
{
    showToolWindow(new TFC);
}

void ToolLauncher::B9Click()
{
    showToolWindow(new TFC);
}

// --- Compress/decompress: each command opens a new, independent window ---

void ToolLauncher::switchCompress()
{
    showToolWindow(new Tysjys);
}

void ToolLauncher::ToolButton29RightClick()
{
    showToolWindow(new Tysjys);
}

void ToolLauncher::PAK1Click()
{
    showToolWindow(new Tysjys);
}

// --- MD5 ---

// "/m": a new, empty MD5 window.
void ToolLauncher::switchMd5()
{
    showToolWindow(new THashMD5Form);
}

// A new MD5 window that hashes every selected file of list one, then of list two, in list order.
void ToolLauncher::md5WithSelection()
{
    // The paths are taken before hashing starts: the lists may re-list while events run during hashing.
    QStringList paths;
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        for (int row : list->selectedRows()) {
            if (list->subItem(row, 5) == QLatin1String("file"))
                paths.append(list->subItem(row, 4));
        }
    }
    QPointer<THashMD5Form> form = new THashMD5Form;
    showToolWindow(form);
    for (const QString& path : paths) {
        if (!form || form->closing())
            break;
        form->HashFile(path);
    }
}

// --- Split/merge ---

void ToolLauncher::showSplitMergeWindow()
{
    auto* w = new Tfsf;
    w->setMainWindow(&m_w);
    showToolWindow(w);
}

// "/h": a new split/merge window; the main window stays visible.
void ToolLauncher::switchSplitMerge()
{
    showSplitMergeWindow();
}

// ToolButton31 and H8: a new split/merge window; the main window hides until that window closes.
void ToolLauncher::ToolButton31Click()
{
    showSplitMergeWindow();
    m_w.hide();
}

// --- Process manager: "/p" and "进程管理&P" open a new window; ToolButton29 and Ctrl+F1 start the
// companion process viewer when one is beside the program ---

void ToolLauncher::switchProcesses()
{
    showToolWindow(new TPrcs);
}

void ToolLauncher::ToolButton29Click()
{
    if (!startCompanion(QStringLiteral("orvoProc")))
        switchProcesses();
}

void ToolLauncher::P12Click()
{
    showToolWindow(new TPrcs);
}

} // namespace app
