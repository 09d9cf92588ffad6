#include "tools/compress/CompressWindow.h"
#include "ui/Dialogs.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString kCompressIdle = QStringLiteral("压缩文件");
const QString kDecompressIdle = QStringLiteral("解压缩文件");
constexpr qint64 kPercentFrom = 2147483647;
constexpr int kPaintEveryMs = 40;   // progress repaints at most this often

} // namespace

// The texts of one direction.
struct Tysjys::JobTexts {
    QString idle;
    QString cancel;
    QString cancelQuestion;
    QString status;
    QString openFilter;
    QString openTitle;
    QString saveFilter;
    QString saveTitle;
    QString proposedExt;
    QString destHint;
    QString sourceHint;
    bool compress;
};

Tysjys::Tysjys(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ysjys"));
    setWindowTitle(QStringLiteral("压缩/解压缩文件"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Highlight));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f = font();
    f.setBold(true);
    setFont(f);

    Button1 = new QPushButton(kCompressIdle, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("选择任意文件进行压缩处理"));
    Button2 = new QPushButton(QStringLiteral("解压缩 文件"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(QStringLiteral("选择任意本程序压缩过的文件进行解压缩处理"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    // The window is painted in the highlight colour; the bar keeps the normal colours so its chunk shows.
    QPalette barColours = ProgressBar1->palette();
    const QPalette normal = QApplication::palette(ProgressBar1);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                     QPalette::Button, QPalette::Highlight, QPalette::HighlightedText})
        barColours.setColor(role, normal.color(role));
    ProgressBar1->setPalette(barColours);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_panel = new QLabel(this);
    StatusBar1->addWidget(m_panel, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(buttons);
    layout->addWidget(ProgressBar1);
    layout->addWidget(StatusBar1);
    setFixedSize(360, 120);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    for (QWidget* w : {static_cast<QWidget*>(ProgressBar1), static_cast<QWidget*>(StatusBar1),
                       static_cast<QWidget*>(m_panel)})
        w->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &Tysjys::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tysjys::Button2Click);
    ZnZip1.setZipLevel(zcDefault);
    ZnZip1.OnBegin = [this](TZnZip* s, qint64 n) { ZnZip1Begin(s, n); };
    ZnZip1.OnProcess = [this](TZnZip* s, qint64 n) { ZnZip1Process(s, n); };
    ZnZip1.OnEnd = [this](TZnZip* s, bool ok, float rate) { ZnZip1End(s, ok, rate); };
    // The program may end with this window open: a running job is stopped so that no partial output remains.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { ZnZip1.Stop(); });
}

Tysjys::~Tysjys()
{
    ZnZip1.OnBegin = nullptr;
    ZnZip1.OnProcess = nullptr;
    ZnZip1.OnEnd = nullptr;
    ZnZip1.Stop();
}

QString Tysjys::statusText() const
{
    return m_panel->text();
}

void Tysjys::setStatus(const QString& text)
{
    m_panel->setText(text);
}

void Tysjys::Button1Click()
{
    static const JobTexts t{
        kCompressIdle,
        QStringLiteral("取消压缩"),
        QStringLiteral("真的要取消压缩：”"),
        QStringLiteral("  压缩文件"),
        QStringLiteral("所有文件(*.*)|*.*|PAK文件(*.pak)|*.pak"),
        QStringLiteral("选择要压缩的文件进行压缩"),
        QStringLiteral("zak文件(*.zak)|*.zak|所有文件(*.*)|*.*"),
        QStringLiteral("压缩后的文件保存为"),
        QStringLiteral(".zak"),
        QStringLiteral("压缩后的文件："),
        QStringLiteral("要压缩的文件："),
        true};
    runButton(Button1, Button2, t);
}

void Tysjys::Button2Click()
{
    static const JobTexts t{
        kDecompressIdle,
        QStringLiteral("取消解压缩"),
        QStringLiteral("真的要取消解压缩：”"),
        QStringLiteral("  解压缩文件"),
        QStringLiteral("zak文件(*.zak)|*.zak|所有文件(*.*)|*.*"),
        QStringLiteral("选择要解压缩的文件进行解压缩"),
        QStringLiteral("所有文件(*.*)|*.*"),
        QStringLiteral("解压缩后的文件保存为"),
        QStringLiteral(".uz"),
        QStringLiteral("解压缩后的文件："),
        QStringLiteral("要解压缩的文件："),
        false};
    runButton(Button2, Button1, t);
}

void Tysjys::runButton(QPushButton* button, QPushButton* other, const JobTexts& t)
{
    ui::Dialogs& dialogs = ui::Dialogs::get();
    if (button->text() == t.cancel) {
        const ui::Dialogs::Answer a =
            dialogs.question(this, t.cancelQuestion + m_jobSource + QStringLiteral("“吗?"), t.cancel);
        // The job may have ended while the question was open; its own ending text then stays.
        if (a != ui::Dialogs::Yes || !ZnZip1.Busy())
            return;
        ZnZip1.Stop();
        button->setText(t.idle);
        setStatus(t.status + QStringLiteral(" 取消"));
        return;
    }
    try {
        const QString source = dialogs.openFile(this, t.openTitle, QString(), t.openFilter);
        if (source.isEmpty()) {
            setStatus(t.status + QStringLiteral(" 取消"));
            return;
        }
        ZnZip1.setSourceFile(source);
        const QString dest =
            dialogs.saveFile(this, t.saveTitle, source + t.proposedExt, t.saveFilter, QString(), false);
        if (dest.isEmpty()) {
            setStatus(t.status + QStringLiteral(" 取消"));
            return;
        }
        ZnZip1.setDestFile(dest);
        ProgressBar1->setToolTip(t.destHint + dest);
        StatusBar1->setToolTip(t.sourceHint + source);
        if (zakSameFile(source, dest)) {
            setStatus(t.status + QStringLiteral(" 出错！"));
            return;
        }
        if (QFileInfo::exists(dest) &&
            dialogs.question(this, dest + QStringLiteral(" 文件已经存在,是否覆盖?"), QStringLiteral("覆盖文件")) !=
                ui::Dialogs::Yes)
            return;
        button->setText(t.cancel);
        other->setEnabled(false);
        setStatus(t.status);
        m_jobSource = source;
        const bool started = t.compress ? ZnZip1.Compress() : ZnZip1.Decompress();
        if (!started) {
            setIdle();
            setStatus(t.status + QStringLiteral(" 出错！"));
        }
    } catch (const std::exception&) {
        if (!ZnZip1.Busy())
            setIdle();
        setStatus(t.status + QStringLiteral(" 出错！"));
    }
}

void Tysjys::setIdle()
{
    Button1->setText(kCompressIdle);
    Button2->setText(kDecompressIdle);
    Button1->setEnabled(true);
    Button2->setEnabled(true);
}

int Tysjys::progressPosition(qint64 nHasDone) const
{
    if (!m_percent)
        return int(nHasDone);
    if (nHasDone == 0 || m_total == 0)
        return 0;
    if (nHasDone == m_total)
        return 100;
    return int(qRound64(double(nHasDone) * 100.0 / double(m_total)));
}

void Tysjys::showProgress()
{
    ProgressBar1->setValue(progressPosition(m_pendingDone));
    m_paintClock.start();
}

void Tysjys::ZnZip1Begin(TZnZip*, qint64 nMax)
{
    m_total = nMax;
    // An empty job keeps a determinate bar: a 0 .. 0 range would show the busy animation.
    m_percent = nMax >= kPercentFrom || nMax == 0;
    ProgressBar1->setRange(0, m_percent ? 100 : int(nMax));
    m_pendingDone = 0;
    showProgress();
}

void Tysjys::ZnZip1Process(TZnZip*, qint64 nHasDone)
{
    // Every step is remembered; the bar is repainted only now and then and at the last step.
    m_pendingDone = nHasDone;
    if (nHasDone >= m_total || !m_paintClock.isValid() || m_paintClock.elapsed() >= kPaintEveryMs)
        showProgress();
}

void Tysjys::ZnZip1End(TZnZip*, bool nNormal, float)
{
    if (m_pendingDone != 0)
        showProgress();
    // A failed or stopped job leaves no output of its own: an older destination file is kept as it was.
    setStatus(statusText() + (nNormal ? QStringLiteral(" 完成。") : QStringLiteral("不能进行！已经取消。")));
    setIdle();
}

void Tysjys::FormClose()
{
    ZnZip1.Stop();
}

void Tysjys::closeEvent(QCloseEvent* e)
{
    FormClose();
    e->accept();
}

void Tysjys::FormMouseDown(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    if (QWindow* w = windowHandle(); w && w->startSystemMove())
        return;
    // No window manager move: follow the mouse until the button is released.
    m_dragging = true;
    m_dragOffset = e->globalPosition().toPoint() - pos();
}

void Tysjys::mousePressEvent(QMouseEvent* e)
{
    FormMouseDown(e);
}

void Tysjys::mouseMoveEvent(QMouseEvent* e)
{
    if (m_dragging && (e->buttons() & Qt::LeftButton))
        move(e->globalPosition().toPoint() - m_dragOffset);
}

void Tysjys::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_dragging = false;
}

bool Tysjys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        FormMouseDown(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseMove:
        mouseMoveEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonRelease:
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
