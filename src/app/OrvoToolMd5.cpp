// The main window's commands for one tool window.
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "tools/md5/HashMD5Form.h"
#include <QPointer>

// "/m": a new, empty MD5 window.
void TOrvo::switchMd5()
{
    showToolWindow(new THashMD5Form);
}

// A new MD5 window that hashes every selected file of list one, then of list two, in list order.
void TOrvo::md5WithSelection()
{
    // The paths are taken before hashing starts: the lists may re-list while events run during hashing.
    QStringList paths;
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
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
