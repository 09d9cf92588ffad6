#include "app/PathBar.h"
#include "app/Commands.h"
#include "app/HistoryFiles.h"
#include "app/Orvo.h"
#include "app/PaneLayout.h"
#include "filelist/FileListView.h"
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
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QUrl>

namespace app {

PathBar::PathBar(TOrvo& window) : m_w(window) {}

void PathBar::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (PathBar::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    m_w.N110 = command("N110", QStringLiteral("浏览列表一至路径&1"), &PathBar::openpath1Click);
    m_w.N22 = command("N22", QStringLiteral("浏览列表二至路径&2"), &PathBar::CustomItem41Click);
    m_w.M3 = command("M3", QStringLiteral("目录树至路径&M"), &PathBar::ComboBox2Click);
    m_w.J1 = command("J1", QStringLiteral("粘贴从剪贴板&J"), &PathBar::J1Click);
    m_w.A2 = command("A2", QStringLiteral("增加当前路径&A"), &PathBar::Addpath1_oldClick);
    m_w.D3 = command("D3", QStringLiteral("删除当前路径&D"), &PathBar::Deletepath1_oldClick);
    m_w.C1 = command("C1", QStringLiteral("删除全部路径&C"), &PathBar::cls1_oldClick);
    m_w.S2 = command("S2", QStringLiteral("保存列表&S"), &PathBar::save1_oldClick);
    m_w.L2 = command("L2", QStringLiteral("载入列表&L"), &PathBar::load1_oldClick);
    m_w.B3 = command("B3", QStringLiteral("编辑列表&B"), &PathBar::CustomItem15Click);
    m_w.N8 = command("N8", QStringLiteral("删除列表&I"), &PathBar::N8Click);
    m_w.E2 = command("E2", QStringLiteral("资源管理器&E"), &PathBar::CustomItem44Click);

    QMenu* menu = m_w.PopupMenu2 = new QMenu(&m_w);
    menu->setObjectName(QStringLiteral("PopupMenu2"));
    for (QAction* a : {m_w.N110, m_w.N22, m_w.M3}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.paste3, m_w.J1}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.A2, m_w.D3, m_w.C1}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.zdl, m_w.S2, m_w.L2, m_w.B3, m_w.N8}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.OrvoF1, m_w.E2}) menu->addAction(a);
}

void PathBar::connectControls()
{
    QComboBox* box = m_w.pathbox;
    box->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this, box](const QPoint& pos) { m_w.PopupMenu2->popup(box->lineEdit()->mapToGlobal(pos)); });
    onClicked(&m_w, m_w.ToolButton3, this, &PathBar::ToolButton3Click);
    onClicked(&m_w, m_w.up1, this, &PathBar::up1Click);
    onClicked(&m_w, m_w.down1, this, &PathBar::down1Click);
    // The combo box takes the keys while it has focus and hands them to its line edit directly, so Enter is
    // caught on the box; the line edit still gets the mouse.
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
    box->setInputMethodHints(Qt::ImhNone);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(box, &QComboBox::activated, this,
            [this](int index) { guarded(&m_w, [&] { pathboxSelect(index); }); });
}

bool PathBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_w.pathbox && watched != m_w.pathbox->lineEdit())
        return false;
    const bool enter = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (enter) {
        guarded(&m_w, [this] { pathboxKeyPress(); });
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_w.pathbox->lineEdit()) {
        guarded(&m_w, [this] { pathboxDblClick(); });
        return true;
    }
    return false;
}

void PathBar::showMissing(const QString& text)
{
    ui::Dialogs::get().error(&m_w, text + QStringLiteral("  不存在！"));
}

QString PathBar::pathBarFolder(bool anyLength)
{
    QString text = m_w.pathbox->currentText();
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

void PathBar::pathboxKeyPress()
{
    ToolButton3Click();
}

void PathBar::ToolButton3Click()
{
    const QString folder = pathBarFolder();
    if (folder.isEmpty())
        return;
    m_w.setTreePath(folder);
    m_w.setTargetFolder(folder);
    m_w.treeDrivenList()->setDirectory(folder);
}

void PathBar::pathboxDblClick()
{
    const QString text = m_w.pathbox->currentText();
    if (text.toUpper() == QLatin1String("DRIVES")) {
        m_w.LsFilelistView281->setDirectory(QStringLiteral("DRIVES"));
        m_w.LsFilelistView282->setDirectory(QStringLiteral("DRIVES"));
        return;
    }
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    m_w.setTreePath(folder);
    m_w.setTargetFolder(folder);
    m_w.LsFilelistView281->setDirectory(text);
    m_w.LsFilelistView282->setDirectory(text);
}

void PathBar::pathboxSelect(int index)
{
    const QString text = m_w.pathbox->itemText(index);
    m_historyIndex = index;
    if (!plat::path::isDirectory(text)) {
        showMissing(text);
        return;
    }
    m_w.treeDrivenList()->setDirectory(text);
}

void PathBar::stepHistory(int delta)
{
    QComboBox* box = m_w.pathbox;
    int next = m_historyIndex + delta;
    if (m_historyIndex < 0)
        next = delta < 0 ? -1 : 0;   // nothing current: back selects nothing, forward the first
    if (next < 0 || next >= box->count())
        next = -1;
    m_historyIndex = next;
    box->setCurrentIndex(next);
    const QString text = next >= 0 ? box->itemText(next) : QString();
    box->setEditText(text);
    m_w.setTreePath(text);
    m_w.treeDrivenList()->setDirectory(text);
}

void PathBar::up1Click()
{
    stepHistory(-1);
}

void PathBar::down1Click()
{
    stepHistory(+1);
}

void PathBar::openInList(TLsFilelistView28* list)
{
    const QString text = m_w.pathbox->currentText();
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    m_w.setTargetFolder(folder);
    list->setDirectory(text);
    // The tree now drives that list, as when the list's folder combo changes path.
    m_w.ScrollBox1->hide();
    m_w.paneLayout().setFv(list == m_w.LsFilelistView282);
    m_w.paneLayout().fvClick();
}

void PathBar::openpath1Click()
{
    openInList(m_w.LsFilelistView281);
}

void PathBar::CustomItem41Click()
{
    openInList(m_w.LsFilelistView282);
}

void PathBar::ComboBox2Click()
{
    const QString text = m_w.pathbox->currentText();
    const QString folder = pathBarFolder(true);
    if (folder.isEmpty())
        return;
    m_w.setTreePath(folder);
    m_w.setTargetFolder(text);
}

void PathBar::J1Click()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && data->hasText())
        m_w.pathbox->setEditText(data->text());
}

QStringList PathBar::history() const
{
    QStringList items;
    for (int i = 0; i < m_w.pathbox->count(); ++i)
        items.append(m_w.pathbox->itemText(i));
    return items;
}

void PathBar::addHistoryOnce(const QString& folder)
{
    if (!history().contains(folder, Qt::CaseSensitive))
        m_w.pathbox->addItem(folder);
}

void PathBar::Addpath1_oldClick()
{
    QComboBox* box = m_w.pathbox;
    const QString text = box->currentText();
    if (text.size() <= 1 && text != QLatin1String("/"))
        return;
    if (!plat::path::isDirectory(text))
        return;
    const QString keep = box->currentText();
    box->addItem(text);   // no duplicate check: adding twice adds twice
    box->setEditText(keep);
}

void PathBar::Deletepath1_oldClick()
{
    QComboBox* box = m_w.pathbox;
    const QString text = box->currentText();
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            box->removeItem(i);
            if (m_historyIndex >= box->count())
                m_historyIndex = -1;
            box->setEditText(text);
            return;
        }
    }
}

void PathBar::cls1_oldClick()
{
    const QString text = m_w.pathbox->currentText();
    m_w.pathbox->clear();
    m_historyIndex = -1;
    m_w.pathbox->setEditText(text);
}

void PathBar::save1_oldClick()
{
    savePathList();
}

void PathBar::load1_oldClick()
{
    if (!listFileExists(kPathListFile)) {
        ui::Dialogs::get().message(&m_w, QStringLiteral("文件不存在!"));
        return;
    }
    loadPathList();
    m_historyIndex = -1;
}

void PathBar::CustomItem15Click()
{
    if (!listFileExists(kPathListFile))
        savePathList();
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(QUrl::fromLocalFile(plat::privateDir() + kPathListFile));
}

void PathBar::N8Click()
{
    removeListFile(kPathListFile);
}

void PathBar::CustomItem44Click()
{
    const QString folder = plat::path::withTrailingSep(m_w.pathbox->currentText());
    if (plat::path::isDirectory(folder))
        plat::exploreFolder(folder);
}

void PathBar::loadPathList()
{
    const std::optional<QStringList> lines = readListFile(kPathListFile);
    if (!lines)
        return;
    QComboBox* box = m_w.pathbox;
    const QString text = box->currentText();
    box->clear();
    box->addItems(*lines);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void PathBar::savePathList()
{
    if (!writeListFile(kPathListFile, history()))
        ui::Dialogs::get().beep();
}

} // namespace app
