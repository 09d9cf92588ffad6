#pragma once
#include <QMenu>
#include <QStringList>

class TLsFilelistView28;

// The file list's built-in popup menu. Every item carries a numeric tag (QAction::data) that picks its
// command: 1 open, 2 quick view, 3 the send-to submenu, 4 cut, 5 copy, 6 paste, 7 rename, 8 delete,
// 9 properties, 10 new folder; the send-to items Send_To0 ... carry 30, 31, ... and run SendTo(n).
class TLsFilelistView28PopUp : public QMenu {
    Q_OBJECT
public:
    explicit TLsFilelistView28PopUp(TLsFilelistView28* list);

    // Enables the items for the list's current selection, transfer list and folder.
    void updateEnabled();
    // Runs the command of an item by its tag, or SendTo(n) for an item named "Send_To" + n.
    void dispatch(QAction* item);
    // Shows the menu 10 pixels right of and below a screen point.
    void popupAt(const QPoint& globalPos);
    QAction* item(const QString& name) const;   // by object name, also in the submenu

    QAction* ItemOpen = nullptr;
    QAction* ItemView = nullptr;
    QAction* SubMenuSend = nullptr;   // the submenu's entry
    QMenu* SendMenu = nullptr;
    QAction* ItemOpCut = nullptr;
    QAction* ItemOpCopy = nullptr;
    QAction* ItemOpPaste = nullptr;
    QAction* ItemRename = nullptr;
    QAction* ItemDelete = nullptr;
    QAction* ItemProperty = nullptr;
    QAction* ItemFolder = nullptr;
    QList<QAction*> SendToItems;      // Send_To0, Send_To1, ...
    QStringList SendToPaths;          // the shortcut files of Send_To4, Send_To5, ... in order

private:
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption, int tag, const QString& icon = QString());
    TLsFilelistView28* m_list;
};
