#include "properties/AttributeRun.h"
#include "platform/posix/SysError.h"
#include "properties/AttributeWindow.h"
#include "properties/engine/AttributeApply.h"
#include "properties/engine/ItemInfo.h"
#include "ui/Dialogs.h"

namespace properties {

bool AttributeRun::execute(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    ui::Dialogs& dialogs = ui::Dialogs::get();
    TfrmAttribute window(m_owner);
    window.RunPaths = paths;
    bool changed = false;
    for (int i = 0; i < paths.size(); ++i) {
        int error = 0;
        const std::optional<ItemInfo> item = readItem(paths[i], &error);
        if (!item) {
            dialogs.error(m_owner, QStringLiteral("不能读取“%1”：%2").arg(paths[i], plat::posix::errnoText(error)));
            continue;
        }
        window.RunIndex = i;
        window.showItem(*item);
        const int result = window.exec();
        if (result == TfrmAttribute::mrNoToAll)
            break;
        if (result == TfrmAttribute::mrYesToAll) {
            changed = changed || window.RunChanged;
            break;
        }
        if (result != TfrmAttribute::mrOk)
            continue;   // cancelled or closed: this item stays as it is
        try {
            const ApplyResult r = applySettings(*item, window.settings());
            changed = changed || r.changed;
            if (r.timeError)
                dialogs.error(m_owner, timeChangeFailedText());
        } catch (const EAttributeError& e) {
            dialogs.error(m_owner, QString::fromUtf8(e.what()));
            break;   // an unreadable time ends the run
        }
    }
    return changed;
}

} // namespace properties
