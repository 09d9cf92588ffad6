#include "tools/md5/Md5Window.h"
#include "platform/NumberFormat.h"
#include "tools/md5/engine/MD5Hash.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <cmath>

namespace {

const QString kHashCaption = QStringLiteral("MD5");
const QString kCancelCaption = QStringLiteral("取消");
// While a file is hashed the progress bar repaints at most this often (events run more often: m_pump).
// The clock is read only after this many bytes, so 4096-byte blocks cost next to nothing.
constexpr qint64 kPaintMs = 200;
constexpr qint64 kClockBytes = 1 << 20;

QStringList droppedPaths(const QMimeData* mime)
{
    QStringList paths;
    if (!mime)
        return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

} // namespace

THashMD5Form::THashMD5Form(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("HashMD5Form"));
    setWindowTitle(QStringLiteral(" MD5 校验"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);    // only the main window ends the program

    Label2 = new QLabel(QStringLiteral("将文件拖入窗口，或者点击 MD5 按钮后选择文件:"), this);
    mmResult = new QPlainTextEdit(this);
    mmResult->setReadOnly(true);
    mmResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmResult->setLineWrapMode(QPlainTextEdit::NoWrap);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Label1 = new QLabel(QStringLiteral("文件读取模式:"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems({QStringLiteral("Auto"), QStringLiteral("MapOfView"), QStringLiteral("FileStream")});
    ComboBox1->setCurrentIndex(rmFileStream);
    Button1 = new QPushButton(kHashCaption, this);
    Edit1 = new QLineEdit(this);
    Edit1->setReadOnly(true);
    QFont big = Edit1->font();
    big.setPointSize(14);
    big.setBold(true);
    Edit1->setFont(big);
    Button2 = new QPushButton(QStringLiteral("复制MD5"), this);
    Button2->setToolTip(QStringLiteral("复制当前的MD5到剪贴板"));
    Label2->setObjectName(QStringLiteral("Label2"));
    mmResult->setObjectName(QStringLiteral("mmResult"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0, 1, 4);
    grid->addWidget(mmResult, 1, 0, 1, 4);
    grid->addWidget(ProgressBar1, 2, 0, 1, 4);
    grid->addWidget(Label1, 3, 0);
    grid->addWidget(ComboBox1, 3, 1);
    grid->addWidget(Button1, 3, 2);
    grid->addWidget(Button2, 3, 3);
    grid->addWidget(Edit1, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    resize(520, 380);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    // A left press on the window body, the progress bar or the digest field moves the window.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(ProgressBar1), static_cast<QWidget*>(Edit1)})
        w->installEventFilter(this);

    centreOnDesktop();
    FormCreate();
}

THashMD5Form::~THashMD5Form()
{
    setAcceptDrops(false);   // FormDestroy
}

void THashMD5Form::FormCreate()
{
    setAcceptDrops(true);
}

void THashMD5Form::FormClose()
{
    setAcceptDrops(false);
}

void THashMD5Form::centreOnDesktop()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(width() / 2, height() / 2));
    }
}

void THashMD5Form::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        // Hashing is still on the stack: cancel it and close once it has unwound.
        m_closing = true;
        m_cancel = true;
        m_queue.clear();
        hide();
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void THashMD5Form::Button1Click()
{
    if (Button1->text() == kCancelCaption) {
        m_cancel = true;
        return;
    }
    const QString file = ui::Dialogs::get().openFile(this, QStringLiteral("打开文件校验MD5"), QString(),
                                                     QStringLiteral("全部文件(*.*)|*.*"));
    if (file.isEmpty() || m_closing)
        return;
    m_cancel = false;
    HashFile(file);
}

void THashMD5Form::Button2Click()
{
    Edit1->selectAll();
    QGuiApplication::clipboard()->setText(Edit1->text());
}

void THashMD5Form::HashFile(const QString& FileName)
{
    if (m_closing)
        return;
    m_queue.push_back({FileName, false});
    runQueue();
}

void THashMD5Form::WMDropFiles(const QStringList& paths)
{
    if (m_closing)
        return;
    {
        ui::WaitCursor busy;
        for (const QString& p : paths)
            m_queue.push_back({p, true});
        runQueue();
    }
    if (!m_closing) {
        raise();
        activateWindow();
    }
}

// Works off the queue unless an outer call already does: files handed over meanwhile wait their turn.
void THashMD5Form::runQueue()
{
    if (m_running)
        return;
    m_running = true;
    {
        auto done = qScopeGuard([this] {
            m_queue.clear();
            m_running = false;
        });
        while (!m_queue.empty() && !m_closing) {
            const Job job = m_queue.front();
            m_queue.pop_front();
            if (job.dropped && QFileInfo(job.path).isDir()) {
                ui::Dialogs::get().error(this, u'"' + job.path + QStringLiteral("\" 是目录, 无法 Hash。\n") +
                                                   QStringLiteral("点击确定继续!"));
                continue;
            }
            hashOne(job.path);
        }
    }
    if (m_closing)
        close();
}

void THashMD5Form::hashOne(const QString& fileName)
{
    Button1->setText(kCancelCaption);
    auto restore = qScopeGuard([this] { Button1->setText(kHashCaption); });
    m_cancel = false;
    const qint64 size = std::max<qint64>(0, MD5FileSize(fileName));
    QElapsedTimer tick;
    tick.start();
    const int mode = ComboBox1->currentIndex();
    m_firstBlock = true;
    m_nextClockCheck = 0;
    m_pump.restart();
    m_paintTimer.start();
    QString digest;
    try {
        digest = MD5File(
            fileName, mode,
            [](bool& cancel, qint64 done, qint64 total, void* data) {
                static_cast<THashMD5Form*>(data)->progress(cancel, done, total);
            },
            this);
    } catch (const std::exception& e) {
        restore.dismiss();
        Button1->setText(kHashCaption);
        ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        return;
    }
    const double elapsed = double(tick.elapsed()) / 1000.0;
    Edit1->setText(digest);
    const QString block = QStringLiteral("MD5：") + (digest.isEmpty() ? kCancelCaption : digest) +
                          QStringLiteral(" -> ") + QFileInfo(fileName).fileName() + QStringLiteral("\n时间: ") +
                          QString::number(elapsed, 'f', 2) + QStringLiteral(" 秒     文件大小: ") + SizeText(size) +
                          QStringLiteral("\n文件读取模式: ") + ModeText(mode) + u'\n';
    mmResult->moveCursor(QTextCursor::End);
    mmResult->insertPlainText(block);
    mmResult->moveCursor(QTextCursor::End);
}

// Called after each block: shows the progress a few times a second, lets events run, answers the cancel request.
void THashMD5Form::progress(bool& cancel, qint64 done, qint64 total)
{
    const bool last = done == total;
    if (!m_firstBlock && !last && done < m_nextClockCheck) {
        cancel = m_cancel;
        return;
    }
    m_nextClockCheck = done + kClockBytes;
    if (m_firstBlock || last || m_pump.due()) {
        if (m_firstBlock || last || m_paintTimer.elapsed() >= kPaintMs) {
            if (total < 2147483647) {
                ProgressBar1->setRange(0, int(total));
                ProgressBar1->setValue(int(done));
            } else {
                ProgressBar1->setRange(0, 100);
                ProgressBar1->setValue(done == 0 || total == 0 ? 0
                                       : done == total         ? 100
                                                               : int(std::lround(double(done) * 100.0 / double(total))));
            }
            m_paintTimer.restart();
        }
        m_firstBlock = false;
        m_pump.pumpNow();
    }
    cancel = m_cancel;
}

QString THashMD5Form::SizeText(qint64 size)
{
    static const char* const kUnits[] = {"bytes", "KB", "MB", "GB", "TB"};
    double value = double(size);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    return plat::formatPicture(value, u"#,##0.##") + u' ' + QLatin1String(kUnits[unit]);
}

QString THashMD5Form::ModeText(int mode)
{
    switch (mode) {
    case rmAuto: return QStringLiteral("Auto( <2GB=Mapped; >2GB=FileStream )");
    case rmMapped: return QStringLiteral("Mapped");
    default: return QStringLiteral("FileStream");
    }
}

void THashMD5Form::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void THashMD5Form::dragMoveEvent(QDragMoveEvent* event)
{
    if (!droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void THashMD5Form::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    WMDropFiles(paths);
}

void THashMD5Form::mmResultMouseDown(QMouseEvent* event, QWidget* source)
{
    if (event->button() != Qt::LeftButton)
        return;
    QWindow* handle = windowHandle();
    if (handle && handle->startSystemMove())
        return;
    // The platform cannot move the window itself: follow the pointer until the button is released.
    m_moving = true;
    m_moveOffset = event->globalPosition().toPoint() - pos();
    Q_UNUSED(source);
}

bool THashMD5Form::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton)
            break;
        mmResultMouseDown(me, static_cast<QWidget*>(watched));
        return true;
    }
    case QEvent::MouseMove:
        if (m_moving) {
            move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_moveOffset);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_moving && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_moving = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
