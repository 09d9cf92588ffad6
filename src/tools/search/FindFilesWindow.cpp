#include "tools/search/FindFilesWindow.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/posix/Executable.h"
#include "tools/search/FoundFilesModel.h"
#include "tools/search/SearchControls.h"
#include "ui/Dialogs.h"
#include "ui/RadioGroup.h"
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

using search::FoundFilesModel;
using search::FoundFilesSort;
using search::FoundRow;
using search::BusyAnimation;
using search::TFindFile;
using search::TSearchRec;
using search::SpinEdit;

namespace {

constexpr int kRowBatchMs = 50;

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

Tfindfiles::Tfindfiles(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("查找文件"));
    FindFile = new TFindFile(this);
    FindFile->setFilename(QStringLiteral("*.*"));
    FindFile->setThreaded(true);
    FindFile->OnNewFolder = [this](TFindFile* s, const QString& f, bool& ignore) { FindFileNewFolder(s, f, ignore); };
    FindFile->OnFound = [this](TFindFile* s, const QString& f, const TSearchRec& r) { FindFileFound(s, f, r); };
    FindFile->OnComplete = [this](TFindFile* s) { FindFileComplete(s); };

    m_rowTimer.setSingleShot(true);
    m_rowTimer.setInterval(kRowBatchMs);
    connect(&m_rowTimer, &QTimer::timeout, this, &Tfindfiles::flushRows);

    buildControls();
    FormCreate();
}

Tfindfiles::~Tfindfiles()
{
    // Stop a worker while the controls still exist; its events are no longer delivered.
    FindFile->OnNewFolder = nullptr;
    FindFile->OnFound = nullptr;
    FindFile->OnComplete = nullptr;
    delete FindFile;
    FindFile = nullptr;
}

// --- Layout ---

void Tfindfiles::buildControls()
{
    resize(560, 470);
    auto* outer = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    PageControl = new QTabWidget(this);
    PageControl->addTab(buildLocationPage(), QStringLiteral("文件位置"));
    PageControl->addTab(buildDatePage(), QStringLiteral("日期"));
    PageControl->addTab(buildAdvancedPage(), QStringLiteral("高级的"));
    top->addWidget(PageControl, 1);

    auto* buttons = new QVBoxLayout;
    Button2 = new QPushButton(QStringLiteral("查找&F"), this);
    Button1 = new QPushButton(QStringLiteral("停止&S"), this);
    Button1->setEnabled(false);
    Animate = new BusyAnimation(this);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    buttons->addWidget(Animate);
    buttons->addStretch();
    top->addLayout(buttons);
    outer->addLayout(top);

    m_results = new FoundFilesModel(this);
    m_sorted = new FoundFilesSort(this);
    m_sorted->compare = [this](int a, int b, int column) { return FoundFilesCompare(a, b, column); };
    m_sorted->setDynamicSortFilter(true);
    m_sorted->setSourceModel(m_results);
    FoundFiles = new QTreeView(this);
    FoundFiles->setModel(m_sorted);
    FoundFiles->setRootIsDecorated(false);
    FoundFiles->setUniformRowHeights(true);
    FoundFiles->setItemsExpandable(false);
    FoundFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FoundFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    FoundFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    FoundFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    FoundFiles->header()->setSectionsClickable(true);
    FoundFiles->header()->setSortIndicatorShown(false);
    const int widths[FoundFilesModel::kColumns] = {100, 160, 60, 120};
    for (int c = 0; c < FoundFilesModel::kColumns; ++c)
        FoundFiles->setColumnWidth(c, widths[c]);
    outer->addWidget(FoundFiles, 1);

    PopupMenu1 = new QMenu(this);
    O1 = PopupMenu1->addAction(QStringLiteral("打开&O"));
    E1 = PopupMenu1->addAction(QStringLiteral("定位文件(资源管理器)&E"));
    OrvoF1 = PopupMenu1->addAction(QStringLiteral("定位文件(Orvo文件管理器)&F"));

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    outer->addWidget(StatusBar);

    connect(Button2, &QPushButton::clicked, this, &Tfindfiles::FindButtonClick);
    connect(Button1, &QPushButton::clicked, this, &Tfindfiles::StopButtonClick);
    connect(FoundFiles->header(), &QHeaderView::sectionClicked, this, &Tfindfiles::FoundFilesColumnClick);
    connect(FoundFiles, &QTreeView::doubleClicked, this, &Tfindfiles::FoundFilesDblClick);
    connect(FoundFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu1->popup(FoundFiles->viewport()->mapToGlobal(p)); });
    connect(O1, &QAction::triggered, this, &Tfindfiles::FoundFilesDblClick);
    connect(E1, &QAction::triggered, this, &Tfindfiles::CustomItem3Click);
    connect(OrvoF1, &QAction::triggered, this, &Tfindfiles::CustomItem2Click);
}

QWidget* Tfindfiles::buildLocationPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    Filename = new QLineEdit(page);
    Containing = new QLineEdit(page);
    IgnoreCase = new QCheckBox(QStringLiteral("区分大小写"), page);
    Location = new QLineEdit(QDir::homePath() + u'/', page);
    Subfolders = new QCheckBox(QStringLiteral("包括子文件夹"), page);
    Subfolders->setChecked(true);
    BrowseButton = new QPushButton(QStringLiteral("更改范围&B"), page);
    Threaded = new QCheckBox(QStringLiteral("线程查找"), page);
    Threaded->setChecked(true);

    grid->addWidget(label(QStringLiteral("文件名:  "), Filename, page), 0, 0);
    grid->addWidget(Filename, 0, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("包含文字:   "), Containing, page), 1, 0);
    grid->addWidget(Containing, 1, 1);
    grid->addWidget(IgnoreCase, 1, 2);
    grid->addWidget(label(QStringLiteral("范围: "), Location, page), 2, 0);
    grid->addWidget(Location, 2, 1);
    grid->addWidget(BrowseButton, 2, 2);
    grid->addWidget(Subfolders, 3, 1);
    grid->addWidget(Threaded, 3, 2);
    grid->setRowStretch(4, 1);

    connect(Subfolders, &QCheckBox::clicked, this, &Tfindfiles::SubfoldersClick);
    connect(Threaded, &QCheckBox::clicked, this, &Tfindfiles::ThreadedClick);
    connect(IgnoreCase, &QCheckBox::clicked, this, &Tfindfiles::IgnoreCaseClick);
    connect(BrowseButton, &QPushButton::clicked, this, &Tfindfiles::BrowseButtonClick);
    return page;
}

QWidget* Tfindfiles::buildDatePage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    DateRangeChoice = new RadioGroup(QStringLiteral("查找的文件"),
                                      {QStringLiteral("创建&C"), QStringLiteral("修改&M"), QStringLiteral("访问&A")}, 3,
                                      page);
    DateRangeChoice->setItemIndex(0);
    grid->addWidget(DateRangeChoice, 0, 0, 1, 4);

    auto datePicker = [page] {
        auto* d = new QDateEdit(page);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setEnabled(false);
        return d;
    };
    auto timePicker = [page] {
        auto* t = new QTimeEdit(page);
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        t->setEnabled(false);
        return t;
    };
    AD = new QCheckBox(QStringLiteral("之后日期:"), page);
    AfterDate = datePicker();
    AT = new QCheckBox(QStringLiteral("之后时间:"), page);
    AfterTime = timePicker();
    BD = new QCheckBox(QStringLiteral("之前日期:"), page);
    BeforeDate = datePicker();
    BT = new QCheckBox(QStringLiteral("之前时间:"), page);
    BeforeTime = timePicker();
    grid->addWidget(AD, 1, 0);
    grid->addWidget(AfterDate, 1, 1);
    grid->addWidget(AT, 1, 2);
    grid->addWidget(AfterTime, 1, 3);
    grid->addWidget(BD, 2, 0);
    grid->addWidget(BeforeDate, 2, 1);
    grid->addWidget(BT, 2, 2);
    grid->addWidget(BeforeTime, 2, 3);
    grid->setRowStretch(3, 1);

    connect(AD, &QCheckBox::clicked, this, &Tfindfiles::ADClick);
    connect(AT, &QCheckBox::clicked, this, &Tfindfiles::ATClick);
    connect(BD, &QCheckBox::clicked, this, &Tfindfiles::BDClick);
    connect(BT, &QCheckBox::clicked, this, &Tfindfiles::BTClick);
    return page;
}

QWidget* Tfindfiles::buildAdvancedPage()
{
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);

    Attributes = new QGroupBox(QStringLiteral(" 属性 "), page);
    auto* attrs = new QGridLayout(Attributes);
    ExactAttr = new QCheckBox(QStringLiteral("勾选的属性都有才查找该文件&B"), Attributes);
    Readonly = new QCheckBox(QStringLiteral("只读&R"), Attributes);
    Hidden = new QCheckBox(QStringLiteral("隐藏&H"), Attributes);
    Archive = new QCheckBox(QStringLiteral("存档&A"), Attributes);
    System = new QCheckBox(QStringLiteral("系统&T"), Attributes);
    Directory = new QCheckBox(QStringLiteral("文件夹&D"), Attributes);
    for (QCheckBox* b : {Readonly, Hidden, Archive, System})
        b->setChecked(true);
    attrs->addWidget(ExactAttr, 0, 0, 1, 2);
    attrs->addWidget(Readonly, 1, 0);
    attrs->addWidget(Hidden, 1, 1);
    attrs->addWidget(Archive, 2, 0);
    attrs->addWidget(System, 2, 1);
    attrs->addWidget(Directory, 3, 0);
    row->addWidget(Attributes, 1);

    FileSize = new QGroupBox(QStringLiteral("大小"), page);
    auto* sizes = new QGridLayout(FileSize);
    SizeMin = new SpinEdit(FileSize);
    SizeMax = new SpinEdit(FileSize);
    for (SpinEdit* s : {SizeMin, SizeMax}) {
        s->setRange(0, std::numeric_limits<int>::max());
        s->setValue(0);
    }
    sizes->addWidget(label(QStringLiteral("至少:   "), SizeMin, FileSize), 0, 0);
    sizes->addWidget(SizeMin, 0, 1);
    sizes->addWidget(label(QStringLiteral("至多:  "), SizeMax, FileSize), 1, 0);
    sizes->addWidget(SizeMax, 1, 1);
    sizes->addWidget(new QLabel(QStringLiteral("KB"), FileSize), 0, 2, 2, 1);
    row->addWidget(FileSize, 1);

    connect(ExactAttr, &QCheckBox::clicked, this, &Tfindfiles::ExactAttrClick);
    connect(SizeMin, &SpinEdit::keyUp, this, &Tfindfiles::SizeMinKeyUp);
    connect(SizeMax, &SpinEdit::keyUp, this, &Tfindfiles::SizeMaxKeyUp);
    return page;
}

void Tfindfiles::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

// --- Handlers ---

void Tfindfiles::FormCreate()
{
    const QDateTime now = QDateTime::currentDateTime();
    BeforeDate->setDate(now.date());
    AfterDate->setDate(now.date());
    BeforeTime->setTime(now.time());
    AfterTime->setTime(now.time());
}

void Tfindfiles::FindButtonClick()
{
    if (FindFile->Busy())
        return;
    m_folderCount = 0;
    m_startTick.start();
    try {
        FindFile->setFilename(Filename->text());
        FindFile->setLocation(Location->text());
    } catch (const std::exception& e) {
        ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        return;
    }
    FindFile->setContaining(Containing->text());

    search::TFileAttributes attrs;
    attrs.set(search::ffArchive, Archive->isChecked());
    attrs.set(search::ffReadonly, Readonly->isChecked());
    attrs.set(search::ffHidden, Hidden->isChecked());
    attrs.set(search::ffSystem, System->isChecked());
    attrs.set(search::ffDirectory, Directory->isChecked());
    FindFile->setAttributes(attrs);
    FindFile->setSizeMin(qint64(SizeMin->value()) * 1024);
    FindFile->setSizeMax(qint64(SizeMax->value()) * 1024);

    for (auto setter : {&TFindFile::setCreatedBefore, &TFindFile::setCreatedAfter, &TFindFile::setModifiedBefore,
                        &TFindFile::setModifiedAfter, &TFindFile::setAccessedBefore, &TFindFile::setAccessedAfter})
        (FindFile->*setter)(0);
    auto dateOf = [](const QDateEdit* e) {
        const QDate d = e->date();
        return search::encodeDate(d.year(), d.month(), d.day());
    };
    auto timeOf = [](const QTimeEdit* e) {
        const QTime t = e->time();
        return search::encodeTime(t.hour(), t.minute(), t.second());
    };
    const search::TDateTime before = (BD->isChecked() ? dateOf(BeforeDate) : 0) + (BT->isChecked() ? timeOf(BeforeTime) : 0);
    const search::TDateTime after = (AD->isChecked() ? dateOf(AfterDate) : 0) + (AT->isChecked() ? timeOf(AfterTime) : 0);
    switch (DateRangeChoice->ItemIndex()) {
    case 0:
        FindFile->setCreatedBefore(before);
        FindFile->setCreatedAfter(after);
        break;
    case 1:
        FindFile->setModifiedBefore(before);
        FindFile->setModifiedAfter(after);
        break;
    case 2:
        FindFile->setAccessedBefore(before);
        FindFile->setAccessedAfter(after);
        break;
    }

    m_sortColumn = -1;
    m_sorted->sort(-1);
    FoundFiles->header()->setSortIndicatorShown(false);
    m_rowTimer.stop();
    m_results->clear();

    Button2->setEnabled(false);
    Button1->setEnabled(true);
    Animate->setActive(true);

    m_inlineSearch = !FindFile->Threaded();
    m_pump.makeDue();
    FindFile->Execute();
    if (m_inlineSearch) {
        m_inlineSearch = false;
        if (m_closeRequested)
            close();   // closed while the walk ran here; it has unwound now
    }
}

void Tfindfiles::StopButtonClick()
{
    FindFile->Abort();
}

void Tfindfiles::closeEvent(QCloseEvent* e)
{
    if (FindFile->Busy() && m_inlineSearch) {
        // The walk is further down this thread's stack: stop it and close when FindButtonClick unwinds.
        m_closeRequested = true;
        FindFile->Abort();
        hide();
        e->ignore();
        return;
    }
    FindFile->Abort();   // a worker is stopped and its completion delivered before the window goes
    e->accept();
}

void Tfindfiles::SubfoldersClick()
{
    FindFile->setSubfolders(Subfolders->isChecked());
}

void Tfindfiles::ThreadedClick()
{
    FindFile->setThreaded(Threaded->isChecked());
}

void Tfindfiles::ExactAttrClick()
{
    FindFile->setExactAttribute(ExactAttr->isChecked());
}

void Tfindfiles::IgnoreCaseClick()
{
    FindFile->setIgnoreCase(!IgnoreCase->isChecked());
}

void Tfindfiles::ADClick()
{
    AfterDate->setEnabled(AD->isChecked());
}

void Tfindfiles::ATClick()
{
    AfterTime->setEnabled(AT->isChecked());
}

void Tfindfiles::BDClick()
{
    BeforeDate->setEnabled(BD->isChecked());
}

void Tfindfiles::BTClick()
{
    BeforeTime->setEnabled(BT->isChecked());
}

void Tfindfiles::BrowseButtonClick()
{
    const QString start = Location->text().contains(u';') ? QString() : Location->text();
    const QString chosen = ui::Dialogs::get().chooseFolder(this, QString(), start);
    if (!chosen.isEmpty())
        Location->setText(chosen);
}

void Tfindfiles::sizeKeyUp(SpinEdit* edit)
{
    const QString text = edit->text();
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (ok)
        edit->setValue(int(std::clamp<qint64>(v, edit->minimum(), edit->maximum())));
    else
        edit->setValue(text.size() < 9 ? edit->minimum() : edit->maximum());
}

void Tfindfiles::SizeMinKeyUp()
{
    sizeKeyUp(SizeMin);
}

void Tfindfiles::SizeMaxKeyUp()
{
    sizeKeyUp(SizeMax);
}

void Tfindfiles::FindFileNewFolder(TFindFile*, const QString& folder, bool& ignoreFolder)
{
    ++m_folderCount;
    StatusBar->showMessage(folder);
    ignoreFolder = false;
    if (m_inlineSearch)
        keepAlive();
}

void Tfindfiles::FindFileFound(TFindFile*, const QString& folder, const TSearchRec& fileInfo)
{
    m_results->addPending({fileInfo.Name, folder, search::foundSizeText(fileInfo), search::foundDateText(fileInfo)});
    if (m_inlineSearch)
        keepAlive();
    else if (!m_rowTimer.isActive())
        m_rowTimer.start();
}

// Inline searches: let pending messages run (Stop, scrolling, closing) on the first event and then at most
// every 15 ms, inserting the rows found since the last time first.
void Tfindfiles::keepAlive()
{
    if (!m_pump.due())
        return;
    flushRows();
    m_pump.pumpNow();
}

void Tfindfiles::flushRows()
{
    m_results->flush();
}

void Tfindfiles::FindFileComplete(TFindFile* sender)
{
    m_rowTimer.stop();
    flushRows();
    Animate->setActive(false);
    Button1->setEnabled(false);
    Button2->setEnabled(true);
    QString text = QStringLiteral("%1 文件找到在 %2 文件夹 (%3 ms)")
                       .arg(m_results->rowCount())
                       .arg(m_folderCount)
                       .arg(m_startTick.isValid() ? m_startTick.elapsed() : 0);
    if (sender->Aborted())
        text.prepend(QStringLiteral("查找终止。 - "));
    StatusBar->showMessage(text);
}

void Tfindfiles::FoundFilesColumnClick(int column)
{
    m_sorted->sort(-1);
    if (column == m_sortColumn) {
        m_sortDescending = !m_sortDescending;
    } else {
        m_sortColumn = column;
        m_sortDescending = false;
    }
    const Qt::SortOrder order = m_sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sorted->sort(m_sortColumn, order);
    FoundFiles->header()->setSortIndicator(m_sortColumn, order);
    FoundFiles->header()->setSortIndicatorShown(true);
}

int Tfindfiles::FoundFilesCompare(int row1, int row2, int column) const
{
    return search::compareAsciiNoCase(m_results->row(row1).text(column), m_results->row(row2).text(column));
}

const FoundRow* Tfindfiles::selectedRow() const
{
    const QModelIndexList rows = FoundFiles->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    return &m_results->row(m_sorted->mapToSource(rows.first()).row());
}

void Tfindfiles::FoundFilesDblClick()
{
    const FoundRow* row = selectedRow();
    plat::ILauncher* launcher = plat::services().launcher;
    if (!row || !launcher)
        return;
    const QString path = plat::path::withTrailingSep(row->folder) + row->name;
    if (plat::posix::isElfProgram(path))
        launcher->startDetached(path, {}, row->folder);
    else
        launcher->openUrl(QUrl::fromLocalFile(path));
}

void Tfindfiles::CustomItem3Click()
{
    if (const FoundRow* row = selectedRow())
        plat::exploreFolder(plat::path::withTrailingSep(row->folder));
}

void Tfindfiles::CustomItem2Click()
{
    const FoundRow* row = selectedRow();
    if (row && onShowInMainWindow)
        onShowInMainWindow(plat::path::withTrailingSep(row->folder));
}

// --- Results ---

int Tfindfiles::resultCount() const
{
    return m_sorted->rowCount();
}

QString Tfindfiles::resultText(int row, int column) const
{
    return m_sorted->index(row, column).data().toString();
}

QString Tfindfiles::statusText() const
{
    return StatusBar->currentMessage();
}
