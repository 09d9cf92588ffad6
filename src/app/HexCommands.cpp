// The main window's hex view commands (h16, hexv): each opens a new hex viewer window owned by the main
// window, then shows the selected entry of list one, then that of list two, which wins when both have one.
#include "app/ListActions.h"
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include "tools/hexview/HexViewWindow.h"

namespace app {

void ListActions::h16Click()
{
    auto* window = new Thexf(&m_w);
    window->show();
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        const QList<int> rows = list->selectedRows();
        if (!rows.isEmpty())
            window->showFile(list->subItem(rows.first(), 4));
    }
}

} // namespace app
