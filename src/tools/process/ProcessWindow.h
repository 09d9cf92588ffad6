#pragma once
// The process manager ("进程管理"): the running processes with their modules, the top-level windows with
// their style bits, and the task bar and desktop items that can be hidden or locked.
#include "tools/process/engine/ProcessRows.h"
#include <QWidget>
#include <array>

class QAction;
class QActionGroup;
class QCheckBox;
class QGroupBox;
class QMenu;
class QTabWidget;
class QTreeView;

namespace plat {
class IProcessInfo;
}
namespace process {
class ProcessListModel;
class ProcessSnapshotThread;
}

class TPrcs : public QWidget {
    Q_OBJECT
public:
    // Reads from plat::services().procs.
    explicit TPrcs(QWidget* parent = nullptr);
    ~TPrcs() override;

    // Whether a process snapshot is being read.
    bool refreshing() const { return m_worker != nullptr; }
    process::WindowOptions windowOptions() const;
    process::ProcessListModel* processModel() const { return m_procModel; }
    process::ProcessListModel* moduleModel() const { return m_moduleModel; }
    process::ProcessListModel* windowModel() const { return m_windowModel; }

    // --- Handlers ---
    void FormShow();                    // lists the processes
    void ProcListClick();               // lists the modules of the selected process
    void TabSheet2Show();               // lists the windows
    void procwinClick();                // shows the style bits of the one selected window
    void terminate_oldClick();          // "终止进程"
    void Refesh_oldClick();             // "刷新" (processes)
    void About1_oldClick();             // "关于"
    void Close1_oldClick();             // "关闭"
    void Free_oldClick();               // "释放"
    void allw_oldClick();               // "全部"
    void visonlyw_oldClick();           // "活动的"
    void invisonlyw_oldClick();         // "非活动的"
    void Emptyw_oldClick();             // "空的"
    void taskBarStylew_oldClick();      // "任务条风格"
    void Refresh1_oldClick();           // "刷新" (windows)
    void Switchto1_oldClick();          // "切换到"
    void TerminateProcess1_oldClick();  // "关闭窗体"
    void HWEClick(QCheckBox* box);      // the "隐藏项目" boxes
    void DWEClick(QCheckBox* box);      // the "锁定项目" boxes

    // --- Controls ---
    QTabWidget* ProList = nullptr;
    QWidget* TabSheet1 = nullptr;       // "进程列表"
    QWidget* TabSheet2 = nullptr;       // "窗体列表"
    QWidget* TabSheet3 = nullptr;       // "其它项目"
    QTreeView* ProcList = nullptr;
    QTreeView* ModuleList = nullptr;
    QTreeView* ThreadList = nullptr;    // hidden and empty
    QTreeView* procwin = nullptr;
    QGroupBox* StyleGroup = nullptr;    // "窗体风格", disabled
    std::array<QCheckBox*, process::kStyleBoxCount> styleBoxes{};

    QMenu* processMenu = nullptr;
    QAction* terminate_old = nullptr;   // "终止进程"
    QAction* Refesh_old = nullptr;      // "刷新"
    QAction* About1_old = nullptr;      // "关于"
    QAction* Close1_old = nullptr;      // "关闭"
    QMenu* moduleMenu = nullptr;
    QAction* Free_old = nullptr;        // "释放"
    QAction* moduleRefresh = nullptr;   // "刷新"
    QAction* moduleAbout = nullptr;     // "关于"
    QMenu* windowMenu = nullptr;
    QAction* allw_old = nullptr;        // "全部"
    QAction* visonlyw_old = nullptr;    // "活动的"
    QAction* invisonlyw_old = nullptr;  // "非活动的"
    QAction* Emptyw_old = nullptr;      // "空的"
    QAction* taskBarStylew_old = nullptr;   // "任务条风格"
    QAction* Refresh1_old = nullptr;    // "刷新"
    QAction* Switchto1_old = nullptr;   // "切换到"
    QAction* TerminateProcess1_old = nullptr;   // "关闭窗体"
    QAction* windowAbout = nullptr;     // "关于"
    QAction* windowClose = nullptr;     // "关闭"

    QCheckBox *HWE = nullptr, *HTrayNotify = nullptr, *HStartButton = nullptr, *HAppSwitchBar = nullptr,
              *HTrayClock = nullptr, *HDesktopIcons = nullptr;   // "隐藏项目"
    QCheckBox *DWE = nullptr, *dtn = nullptr, *dsb = nullptr, *dasb = nullptr, *dtc = nullptr,
              *ddi = nullptr;                                    // "锁定项目"

Q_SIGNALS:
    // A process snapshot has been put into the list.
    void processesListed();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildProcessPage();
    void buildWindowPage();
    void buildOtherPage();
    void buildMenus();
    void updateCommands();
    void listProcesses();
    void snapshotRead();
    void listWindows();
    int selectedRow(QTreeView* view) const;

    plat::IProcessInfo* m_info;
    process::ProcessListModel* m_procModel = nullptr;
    process::ProcessListModel* m_moduleModel = nullptr;
    process::ProcessListModel* m_threadModel = nullptr;
    process::ProcessListModel* m_windowModel = nullptr;
    process::ProcessSnapshotThread* m_worker = nullptr;
    bool m_listAgain = false;
};
