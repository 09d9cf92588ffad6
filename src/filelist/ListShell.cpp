#include "filelist/ListShell.h"
#include "filelist/engine/ListLaunch.h"
#include "filelist/engine/ListNames.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include "ui/Dialogs.h"
#include <QStorageInfo>

namespace filelist {

int ExecuteFile(QWidget* owner, const QString& verb, const QString& file, const QStringList& params,
                const QString& dir)
{
    const int code = executeFile(verb, file, params, dir);
    if (code <= 32)
        ShowOpenError(owner, file);
    return code;
}

void ShowOpenError(QWidget* owner, const QString& file)
{
    ui::Dialogs::get().error(owner, QStringLiteral("错误 - 文件“") + file + QStringLiteral("”不能打开！\r\n") +
                                        QStringLiteral("原因可能是文件名存在无法识别的字符。"));
}

bool TargetExists(QWidget* owner, const QString& path)
{
    if (!entryExists(plat::path::withoutTrailingSep(path)))
        return false;
    ui::Dialogs::get().error(owner, alreadyExistsText(path));
    return true;
}

bool DriveReady(QWidget* owner, const QString& root)
{
    const QString r = plat::path::withoutTrailingSep(root);
    bool mounted = false;
    if (plat::IVolumes* volumes = plat::services().volumes) {
        for (const plat::Volume& v : volumes->list())
            mounted = mounted || plat::path::samePath(v.root, r);
    }
    if (!mounted)
        ui::Dialogs::get().error(owner, QStringLiteral("Not a valid Drive ID"));
    const QStorageInfo info(r);
    if (info.isValid() && info.isReady())
        return true;
    ui::Dialogs::get().beep();
    ui::Dialogs::get().warning(owner, QStringLiteral("There is no disk in Drive ") + r + QStringLiteral("\ror Drive ") +
                                          r + QStringLiteral(": is not ready"));
    return false;
}

} // namespace filelist
