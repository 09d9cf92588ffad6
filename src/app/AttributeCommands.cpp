#include "app/AttributeCommands.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include "platform/Path.h"
#include "properties/AttributeRun.h"
#include "properties/FileDateWindow.h"
#include "properties/engine/DateRewrite.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"
#include <QComboBox>
#include <QToolButton>

namespace app {

namespace {

// Suspends a list's repainting for its lifetime.
class NoRepaint {
public:
    explicit NoRepaint(QWidget* w) : m_w(w) { m_w->setUpdatesEnabled(false); }
    ~NoRepaint() { m_w->setUpdatesEnabled(true); }
    NoRepaint(const NoRepaint&) = delete;
    NoRepaint& operator=(const NoRepaint&) = delete;
private:
    QWidget* m_w;
};

} // namespace

AttributeCommands::AttributeCommands(TOrvo& window) : m_w(window) {}

void AttributeCommands::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (AttributeCommands::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    m_w.sx2 = command("sx2", QStringLiteral("属性&A"), &AttributeCommands::Properties_oldClick);
    m_w.Properties = command("Properties", QStringLiteral("属性&P"), &AttributeCommands::Properties_oldClick);
    m_w.sxxg = command("sxxg", QStringLiteral("属性修改&S"), &AttributeCommands::sxxgClick);
    m_w.G5 = command("G5", QStringLiteral("属性修改&G"), &AttributeCommands::sxxgClick);
    m_w.RewriteTime = command("RewriteTime", QStringLiteral("修改文件时间&W"), &AttributeCommands::rwtimeClick);
}

void AttributeCommands::connectControls()
{
    onClicked(&m_w, m_w.Attribute, this, &AttributeCommands::Properties_oldClick);
    onRightClicked(&m_w, m_w.Attribute, this, &AttributeCommands::AttributeMouseDown);
    onClicked(&m_w, m_w.rwtime, this, &AttributeCommands::rwtimeClick);
    connect(&m_w.Timer2, &QTimer::timeout, this, [this] { guarded(&m_w, [this] { AttrClick(); }); });
}

QStringList AttributeCommands::selectedPaths(const TLsFilelistView28* list)
{
    QStringList paths;
    for (int row : list->selectedRows()) {
        if (list->subItem(row, 5) == QLatin1String("drv") || list->caption(row) == QLatin1String(".."))
            continue;
        paths << list->subItem(row, 4);
    }
    return paths;
}

void AttributeCommands::Properties_oldClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282})
        if (!list->selectedRows().isEmpty())
            list->ShowProperties();
}

void AttributeCommands::AttributeMouseDown()
{
    m_w.Timer2.start(10);
}

void AttributeCommands::sxxgClick()
{
    m_w.Timer2.start(100);
}

void AttributeCommands::AttrClick()
{
    m_w.Timer2.stop();
    TLsFilelistView28* one = m_w.LsFilelistView281;
    TLsFilelistView28* two = m_w.LsFilelistView282;
    const QStringList fromOne = selectedPaths(one);
    const QStringList fromTwo = selectedPaths(two);
    if (fromOne.isEmpty() && fromTwo.isEmpty())
        return;
    if (!properties::AttributeRun(&m_w).execute(fromOne + fromTwo))
        return;
    // Every list that gave items re-lists, and a list showing the same folder as one of them.
    const bool relistOne = !fromOne.isEmpty()
                           || plat::path::samePath(one->Directory(), two->Directory());
    const bool relistTwo = !fromTwo.isEmpty()
                           || plat::path::samePath(one->Directory(), two->Directory());
    if (relistOne)
        one->UpdateFileList();
    if (relistTwo)
        two->UpdateFileList();
}

void AttributeCommands::rwtimeClick()
{
    ui::Dialogs& dialogs = ui::Dialogs::get();
    TLsFilelistView28* list = nullptr;
    if (!m_w.LsFilelistView281->selectedRows().isEmpty())
        list = m_w.LsFilelistView281;
    else if (!m_w.LsFilelistView282->selectedRows().isEmpty())
        list = m_w.LsFilelistView282;
    if (!list) {
        dialogs.message(&m_w, properties::nothingSelectedText());
        return;
    }
    TFileDateForm form(&m_w);
    if (form.exec() != QDialog::Accepted)
        return;
    QStringList files;
    for (int row : list->selectedRows())
        if (list->subItem(row, 5) == QLatin1String("file"))
            files << list->subItem(row, 4);
    {
        NoRepaint noRepaint(list);
        ui::WaitCursor wait;
        const properties::RewriteOutcome o = properties::rewriteWriteTimes(files, form.Result.date(), form.Result.time());
        if (o.failedIndex >= 0)
            dialogs.message(&m_w, properties::cannotOpenText(files[o.failedIndex]));
    }
    // The other list re-lists; the used one too, so that it shows the new times.
    TLsFilelistView28* other = m_w.otherList(list);
    other->UpdateFileList();
    list->UpdateFileList();
    m_w.pathbox->setEditText(other->Directory());
}

} // namespace app
