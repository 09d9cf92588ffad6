#include "app/CdDoors.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "platform/Cdrom.h"
#include "platform/Services.h"
#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QToolButton>

namespace app {

namespace {

plat::ICdrom* cdroms()
{
    return plat::services().cdrom;
}

// Adds one item per drive and, with more than one drive, a separator and the item for all of them.
void fillDoorMenu(QMenu* menu, const QStringList& drives, const QString& itemPrefix, const QString& allCaption,
                  const QIcon& allIcon, void (plat::ICdrom::*door)(const QString&))
{
    menu->clear();
    for (const QString& dev : drives) {
        QAction* a = menu->addAction(itemPrefix + dev);
        a->setData(dev);
        QObject::connect(a, &QAction::triggered, menu, [dev, door] {
            if (plat::ICdrom* c = cdroms())
                (c->*door)(dev);
        });
    }
    if (drives.size() > 1) {
        menu->addSeparator();
        QAction* all = menu->addAction(allIcon, allCaption);
        QObject::connect(all, &QAction::triggered, menu, [drives, door] {
            if (plat::ICdrom* c = cdroms())
                for (const QString& dev : drives)
                    (c->*door)(dev);
        });
    }
}

QIcon openIcon() { return QIcon::fromTheme(QStringLiteral("media-eject")); }
QIcon closedIcon() { return QIcon::fromTheme(QStringLiteral("media-optical")); }

} // namespace

CdDoors::CdDoors(TOrvo& window) : QObject(&window), m_w(window) {}

void CdDoors::createCommands()
{
    m_w.cdrom = newCommand(&m_w, this, "cdrom", QStringLiteral("光驱开关&C"), &CdDoors::cdromClick, true);
    m_w.PopmenuCDctrl = new QMenu(&m_w);
    m_w.PopmenuCDctrl->setObjectName(QStringLiteral("PopmenuCDctrl"));
    m_w.mOpenCDROM = m_w.PopmenuCDctrl->addMenu(QStringLiteral("弹出光驱(&O)"));
    m_w.mOpenCDROM->setObjectName(QStringLiteral("mOpenCDROM"));
    m_w.mCloseCDROM = m_w.PopmenuCDctrl->addMenu(QStringLiteral("关闭光驱(&C)"));
    m_w.mCloseCDROM->setObjectName(QStringLiteral("mCloseCDROM"));
    connect(m_w.PopmenuCDctrl, &QMenu::aboutToShow, this, &CdDoors::PopmenuCDctrlPopup);
}

void CdDoors::connectControls()
{
    m_w.cd->setCheckable(true);
    onClicked(&m_w, m_w.cd, this, &CdDoors::cdClick);
    onRightClickMenu(m_w.cd, m_w.PopmenuCDctrl);
    showDoorState();
}

// The button follows the command: it is down exactly when the command is checked.
void CdDoors::cdClick()
{
    m_w.cdrom->setChecked(m_w.cd->isChecked());
    cdromClick();
}

void CdDoors::cdromClick()
{
    m_w.cd->setChecked(m_w.cdrom->isChecked());
    if (plat::ICdrom* c = cdroms()) {
        const QString dev = c->defaultDrive();
        if (m_w.cdrom->isChecked())
            c->openDoor(dev);
        else
            c->closeDoor(dev);
    }
    showDoorState();
}

void CdDoors::showDoorState()
{
    const QIcon icon = m_w.cdrom->isChecked() ? openIcon() : closedIcon();
    m_w.cdrom->setIcon(icon);
    m_w.cd->setIcon(icon);
}

void CdDoors::PopmenuCDctrlPopup()
{
    const QStringList drives = cdroms() ? cdroms()->drives() : QStringList();
    fillDoorMenu(m_w.mOpenCDROM, drives, QStringLiteral("弹出光驱 "), QStringLiteral("弹出所有光驱(&A)"),
                 closedIcon(), &plat::ICdrom::openDoor);
    fillDoorMenu(m_w.mCloseCDROM, drives, QStringLiteral("关闭光驱 "), QStringLiteral("关闭所有光驱(&C)"),
                 openIcon(), &plat::ICdrom::closeDoor);
}

} // namespace app
