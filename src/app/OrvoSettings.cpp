// Settings of the main window: the load at start, the writers, the commands that mirror the store, and the
// background colours.
#include "app/ColorValue.h"
#include "app/HistoryFiles.h"
#include "app/Orvo.h"
#include "app/PathBar.h"
#include "filelist/FileListView.h"
#include "foldertree/ShellTree.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QToolButton>
#include <QPalette>
#include <exception>

namespace {

void setBackground(QWidget* w, QPalette::ColorRole role, const QColor& c)
{
    QPalette pal = w->palette();
    pal.setColor(role, c);
    w->setPalette(pal);
}

QString executable()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace

void TOrvo::loadSettings()
{
    // Colours; a value that cannot be read gives a beep and its default.
    const QColor white(Qt::white);
    bool beeped = false;
    const auto colour = [&](const char* name, qint32 def) {
        bool bad = false;
        const std::optional<qint32> v = m_store.color(QLatin1String(name), &bad);
        if (bad && !beeped) {
            ui::Dialogs::get().beep();
            beeped = true;
        }
        const QColor fallback = app::toQColor(def, white);
        return v ? app::toQColor(*v, fallback) : fallback;
    };
    const bool readable = m_store.readable();
    if (!readable) {
        // A damaged or unreadable settings file: defaults for everything.
        ui::Dialogs::get().beep();
        beeped = true;
    }
    const auto flag = [&](const char* name) { return readable && m_store.hasFlag(QLatin1String(name)); };
    m_mainColor = readable ? colour("OrvoCo", SettingsStore::kDefaultMainColor)
                           : app::toQColor(SettingsStore::kDefaultMainColor, white);
    m_treeColor = readable ? colour("ShTe", SettingsStore::kDefaultWhite) : white;
    m_list1Color = readable ? colour("LFV1", SettingsStore::kDefaultWhite) : white;
    m_list2Color = readable ? colour("LFV2", SettingsStore::kDefaultWhite) : white;
    applyColors();
    showColorInBox(m_mainColor);

    m_replaceOnClash = flag("th");
    showClashPolicy();
    m_dragMoves = flag("dragf");
    m_dragLink = false;
    showDragPolicy();
    m_autoPathList = flag("zdl");
    zdl->setChecked(m_autoPathList);
    if (m_autoPathList)
        m_pathBar->loadPathList();

    m_autostart = m_store.autostartExists();
    kauto->setChecked(m_autostart);
    kau->setChecked(m_autostart);
    m_contextMenu = m_store.contextMenuExists();
    addzy->setChecked(m_contextMenu);
    addz->setChecked(m_contextMenu);

    // Fixed view defaults.
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        list->setShowFolders(true);
        list->setMask(QStringLiteral("*.*"));
        list->setReadOnly(false);
    }
    Mask1->clearEditText();
    pathbox->setCompleter(nullptr);
    // The tree's options are not stored: folders shown, no files, no hidden items, no mask.
    ShellTree1->setOptions(TVisOptions(TF_FOLDERS));
    ShellTree1->setFileMaskUse(false);
}

void TOrvo::applyColors()
{
    setBackground(this, QPalette::Window, m_mainColor);
    setBackground(ShellTree1, QPalette::Window, m_treeColor);
    setBackground(ShellTree1, QPalette::Base, m_treeColor);
    setBackground(LsFilelistView281, QPalette::Base, m_list1Color);
    setBackground(LsFilelistView282, QPalette::Base, m_list2Color);
}

void TOrvo::writeFlag(const QString& name, bool on)
{
    if (!m_store.writeFlag(name, on))
        ui::Dialogs::get().beep();
}

void TOrvo::writeColor(const QString& name, const QColor& color)
{
    if (!m_store.writeColor(name, app::fromQColor(color)))
        ui::Dialogs::get().error(this, m_store.lastError());
}

void TOrvo::showClashPolicy()
{
    th->setChecked(m_replaceOnClash);
    fj->setChecked(!m_replaceOnClash);
    ztf->setChecked(!m_replaceOnClash);
}

void TOrvo::showDragPolicy()
{
    dragbl->setChecked(!m_dragMoves);
    tfcopy->setChecked(!m_dragMoves);
    tfcut->setChecked(m_dragMoves);
    tfkjfs->setChecked(false);
}

void TOrvo::ztfClick()
{
    m_replaceOnClash = !m_replaceOnClash;
    showClashPolicy();
    writeFlag(QStringLiteral("th"), m_replaceOnClash);
}

void TOrvo::dragbl_oldClick()
{
    m_dragMoves = !m_dragMoves;
    m_dragLink = false;
    showDragPolicy();
    writeFlag(QStringLiteral("dragf"), m_dragMoves);
}

void TOrvo::tfkjfsClick()
{
    // Outward drags offer links until the drag policy changes; the item itself does not stay checked.
    m_dragLink = true;
    tfkjfs->setChecked(false);
}

void TOrvo::zdlClick()
{
    m_autoPathList = !m_autoPathList;
    zdl->setChecked(m_autoPathList);
    writeFlag(QStringLiteral("zdl"), m_autoPathList);
}

void TOrvo::kautoClick()
{
    m_autostart = !m_autostart;
    kauto->setChecked(m_autostart);
    kau->setChecked(m_autostart);
    if (!m_store.setAutostart(m_autostart, executable()))
        ui::Dialogs::get().error(this, m_store.lastError());
}

void TOrvo::addzyClick()
{
    m_contextMenu = !m_contextMenu;
    addzy->setChecked(m_contextMenu);
    addz->setChecked(m_contextMenu);
    if (!m_store.setContextMenu(m_contextMenu, executable()))
        ui::Dialogs::get().beep();
}

void TOrvo::N2Click()
{
    bool ok = m_store.removeAll();
    QString error = m_store.lastError();
    for (const QString& name : {app::kPathListFile, app::kMaskListFile}) {
        if (!app::removeListFile(name)) {
            if (ok)
                error = QStringLiteral("无法删除“%1”。").arg(name);
            ok = false;
        }
    }
    // The menus follow the store whether or not everything could be removed.
    loadSettings();
    if (!ok)
        ui::Dialogs::get().error(this, error);
}

// --- Colours ---

void TOrvo::ToolButton8Click()
{
    if (ToolButton8->isChecked())
        ColorBoxChange();
}

namespace {

QIcon swatchIcon(const QColor& color)
{
    QPixmap swatch(12, 12);
    swatch.fill(color);
    return QIcon(swatch);
}

} // namespace

void TOrvo::showColorInBox(const QColor& color)
{
    m_boxColor = color;
    if (!color.isValid()) {
        ColorBox->setCurrentIndex(-1);
        return;
    }
    const int custom = ColorBox->count() - 1;
    for (int i = 0; i < custom; ++i) {
        if (ColorBox->itemData(i).value<QColor>() == color) {
            ColorBox->setCurrentIndex(i);
            return;
        }
    }
    // Not one of the named colours: the custom item holds it.
    ColorBox->setItemData(custom, color);
    ColorBox->setItemIcon(custom, swatchIcon(color));
    ColorBox->setCurrentIndex(custom);
}

void TOrvo::ColorBoxActivated(int index)
{
    if (index == ColorBox->count() - 1) {
        const QVariant held = ColorBox->itemData(index);
        const QColor initial = held.canConvert<QColor>() ? held.value<QColor>() : m_mainColor;
        const std::optional<QColor> chosen = ui::Dialogs::get().chooseColor(this, initial);
        if (!chosen || !chosen->isValid()) {
            // Cancelled: the box shows the colour it showed before.
            showColorInBox(m_boxColor);
            return;
        }
        ColorBox->setItemData(index, *chosen);
        ColorBox->setItemIcon(index, swatchIcon(*chosen));
    }
    m_boxColor = ColorBox->currentData().value<QColor>();
    ColorBoxChange();
}

void TOrvo::ColorBoxChange()
{
    const QVariant data = ColorBox->currentData();
    if (!data.canConvert<QColor>() || ColorBox->currentIndex() < 0)
        return;
    const QColor color = data.value<QColor>();
    if (ToolButton8->isChecked()) {
        m_mainColor = color;
        writeColor(QStringLiteral("OrvoCo"), color);
    }
    if (treeHasSelection()) {
        m_treeColor = color;
        writeColor(QStringLiteral("ShTe"), color);
    }
    if (!LsFilelistView281->selectedRows().isEmpty()) {
        m_list1Color = color;
        writeColor(QStringLiteral("LFV1"), color);
    }
    if (!LsFilelistView282->selectedRows().isEmpty()) {
        m_list2Color = color;
        writeColor(QStringLiteral("LFV2"), color);
    }
    applyColors();
}
