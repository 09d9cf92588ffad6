#include "filelist/FileListPopup.h"
#include "filelist/engine/ListLaunch.h"
#include "filelist/FileListView.h"
#include "platform/Path.h"
#include <QIcon>

TLsFilelistView28PopUp::TLsFilelistView28PopUp(TLsFilelistView28* list) : QMenu(list), m_list(list)
{
    setObjectName(QStringLiteral("TLsFilelistView28PopUp"));
    ItemOpen = addItem(this, QStringLiteral("ItemOpen"), QStringLiteral("打开&O"), 1, QStringLiteral("document-open"));
    ItemView = addItem(this, QStringLiteral("ItemView"), QStringLiteral("快速查看&V"), 2, QStringLiteral("document-preview"));
    addSeparator();
    SendMenu = new QMenu(QStringLiteral("发送到&F "), this);
    SendMenu->setObjectName(QStringLiteral("SendMenu"));
    SubMenuSend = addMenu(SendMenu);
    SubMenuSend->setObjectName(QStringLiteral("SubMenuSend"));
    SubMenuSend->setData(3);
    SendToItems << addItem(SendMenu, QStringLiteral("Send_To0"), QStringLiteral("任何文件夹..."), 30, QStringLiteral("folder"));
    SendToItems << addItem(SendMenu, QStringLiteral("Send_To1"), QStringLiteral("剪贴板将内容"), 31, QStringLiteral("edit-paste"));
    SendToItems << addItem(SendMenu, QStringLiteral("Send_To2"), QStringLiteral("剪贴板将文件路径名"), 32, QStringLiteral("edit-copy"));
    SendToItems << addItem(SendMenu, QStringLiteral("Send_To3"), QStringLiteral("桌面快捷方式"), 33, QStringLiteral("user-desktop"));
    int n = 4;
    for (const filelist::SendToShortcut& s : filelist::sendToShortcuts()) {
        SendToItems << addItem(SendMenu, QStringLiteral("Send_To") + QString::number(n), s.caption, 30 + n,
                               QStringLiteral("application-x-desktop"));
        SendToPaths << s.path;
        ++n;
    }
    addSeparator();
    ItemOpCut = addItem(this, QStringLiteral("ItemOpCut"), QStringLiteral("剪切&T"), 4, QStringLiteral("edit-cut"));
    ItemOpCopy = addItem(this, QStringLiteral("ItemOpCopy"), QStringLiteral("复制&C"), 5, QStringLiteral("edit-copy"));
    ItemOpPaste = addItem(this, QStringLiteral("ItemOpPaste"), QStringLiteral("粘贴&P"), 6, QStringLiteral("edit-paste"));
    addSeparator();
    ItemRename = addItem(this, QStringLiteral("ItemRename"), QStringLiteral("改名&R"), 7);
    ItemDelete = addItem(this, QStringLiteral("ItemDelete"), QStringLiteral("删除&D"), 8, QStringLiteral("edit-delete"));
    addSeparator();
    ItemProperty = addItem(this, QStringLiteral("ItemProperty"), QStringLiteral("属性&A"), 9, QStringLiteral("document-properties"));
    addSeparator();
    ItemFolder = addItem(this, QStringLiteral("ItemFolder"), QStringLiteral("新文件夹&N"), 10, QStringLiteral("folder-new"));
}

QAction* TLsFilelistView28PopUp::addItem(QMenu* menu, const QString& name, const QString& caption, int tag,
                                         const QString& icon)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setData(tag);
    if (!icon.isEmpty())
        a->setIcon(QIcon::fromTheme(icon));
    connect(a, &QAction::triggered, this, [this, a] { dispatch(a); });
    return a;
}

QAction* TLsFilelistView28PopUp::item(const QString& name) const
{
    for (QAction* a : actions() + SendMenu->actions()) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

void TLsFilelistView28PopUp::updateEnabled()
{
    const QList<int> rows = m_list->selectedRows();
    const bool sel = !rows.isEmpty();
    const QString first = sel ? m_list->subItem(rows.first(), 4) : QString();
    for (QAction* a : {ItemOpen, SubMenuSend, ItemOpCut, ItemOpCopy, ItemDelete, ItemProperty})
        a->setEnabled(sel);
    ItemView->setEnabled(sel && filelist::quickViewIndex(first) >= 0);
    ItemOpPaste->setEnabled(!m_list->Transfer.ClipList.isEmpty());
    ItemRename->setEnabled(rows.size() == 1);
    ItemFolder->setEnabled(!filelist::FileLister::isDrivesWord(m_list->Directory()));
    for (QAction* a : SendToItems)
        a->setEnabled(sel);
    // Contents to the clipboard: one item, a picture or text of the first quick-view entries, RTF or WMF.
    const QString ext = plat::path::extOf(plat::path::namePart(first)).toUpper();
    const int index = filelist::quickViewIndex(first);
    const bool contents = (index >= 0 && index < 13) || ext == u".RTF" || ext == u".WMF";
    SendToItems.at(1)->setEnabled(rows.size() == 1 && contents);
}

void TLsFilelistView28PopUp::dispatch(QAction* a)
{
    const int tag = a->data().toInt();
    switch (tag) {
    case 1: m_list->OpenItem(); return;
    case 2: m_list->ViewFile(); return;
    case 4: m_list->CutCopy(2); return;
    case 5: m_list->CutCopy(0); return;
    case 6: m_list->PasteFiles(m_list->Directory(), false); return;
    case 7: m_list->RenameSelected(); return;
    case 8: m_list->DeleteItems(false); return;
    case 9: m_list->ShowProperties(); return;
    case 10: m_list->NewFolder(); return;
    default: break;
    }
    const QString name = a->objectName();
    if (tag != 3 && name.startsWith(QLatin1String("Send_To"))) {
        bool ok = false;
        const int n = name.mid(7, 2).toInt(&ok);
        if (ok)
            m_list->SendTo(n);
    }
}

void TLsFilelistView28PopUp::popupAt(const QPoint& globalPos)
{
    updateEnabled();
    popup(globalPos + QPoint(10, 10));
}
