// The main window's commands for one tool window.
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "tools/search/window/Findfiles.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>

namespace {

// The companion finder beside the program: the name without ".exe" first, then with it; a regular file
// with the execute bit. Empty when there is none.
QString companionFinder()
{
    const QString folder = QCoreApplication::applicationDirPath() + u'/';
    for (const char* name : {"orvofindf", "orvofindf.exe"}) {
        const QFileInfo info(folder + QLatin1String(name));
        if (info.isFile() && info.isExecutable())
            return info.filePath();
    }
    return {};
}

} // namespace

// Opens a new search window whose file-name field holds the file-name part of the transfer-list box text.
void TOrvo::switchSearch()
{
    auto* w = new Tfindfiles;
    w->Filename->setText(dirbox ? plat::path::namePart(dirbox->currentText()) : QString());
    const QPointer<TOrvo> self(this);
    w->onShowInMainWindow = [self](const QString& folder) {
        if (self && self->treeDrivenList())
            self->treeDrivenList()->setDirectory(folder);
    };
    showToolWindow(w);
}

void TOrvo::ToolButton30Click()
{
    const QString companion = companionFinder();
    if (companion.isEmpty()) {
        switchSearch();
        return;
    }
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->startDetached(companion, {});
}
