#include "tools/splitmerge/SplitMergeWindow.h"
#include "tools/splitmerge/SpinButton.h"
#include "tools/splitmerge/engine/SplitMergeFiles.h"
#include "tools/splitmerge/engine/SplitMergeError.h"
#include "ui/Dialogs.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

using splitmerge::SplitFields;
using splitmerge::FileSplitter;
using splitmerge::PieceMerger;

const QString Tfsf::kCaption = QStringLiteral("文件分割或合并");
const QString Tfsf::kNumberError = QStringLiteral("数字串中含有非数字字符或者不能为空。");
const QString Tfsf::kPositionError = QStringLiteral("数字串中含有非数字字符。");
const QString Tfsf::kHelpText = QStringLiteral(
    "合并操作:按[打开文件]打开分割好的文件的其中一份,\r\n就可按[合并]操作。注意:要合并的文件序号要连续,\r\n"
    "序号从1开始,合并到序号接不上就会结束完成。");
const QString Tfsf::kSplitDone = QStringLiteral(" 文件分割完成。");
const QString Tfsf::kSplitStopped = QStringLiteral(" 文件分割中止。");
const QString Tfsf::kMergeDone = QStringLiteral(" 文件合并完成。");
const QString Tfsf::kReplaceQuestion = QStringLiteral("文件存在,要改写吗?");
const QString Tfsf::kReplaceCaption = QStringLiteral("文件存在");

namespace {

const QString kEmptyFile = QStringLiteral("文件为空,不能分割。");
const QString kAllFiles = QStringLiteral("所有文件|*.*");
const QString kAbout = QStringLiteral("文件分割或合并 1.0\r\nOrvo 文件管理器的文件分割、合并与接入工具。");

QLineEdit* numberField(QWidget* parent, const QString& text)
{
    auto* e = new QLineEdit(text, parent);
    // Digits only; 18 of them always fit a 64-bit value.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setMaxLength(18);
    return e;
}

QWidget* withSpin(QWidget* parent, QLineEdit* edit, SpinButton* spin)
{
    auto* w = new QWidget(parent);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit);
    row->addWidget(spin);
    return w;
}

} // namespace

Tfsf::Tfsf(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fsf"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
    setOpenControls(false);
    Button8->setEnabled(false);
    resize(sizeHint().expandedTo(QSize(420, 0)));
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

Tfsf::~Tfsf() = default;

void Tfsf::buildControls()
{
    auto* grid = new QGridLayout(this);

    Edit1 = new QLineEdit(this);
    Edit1->setToolTip(QStringLiteral("编辑框"));
    Edit1->setEnabled(false);
    Button1 = new QPushButton(QStringLiteral("打开文件"), this);
    Button1->setToolTip(QStringLiteral("打开要分割或合并的文件,按右键帮助..."));
    PopupMenu1 = new QMenu(this);
    N3 = PopupMenu1->addAction(QStringLiteral("帮助"));
    N4 = PopupMenu1->addAction(QStringLiteral("关于"));
    Button1->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->addWidget(Edit1, 0, 0, 1, 2);
    grid->addWidget(Button1, 0, 2);

    Label3 = new QLabel(QStringLiteral("文件大小："), this);
    Button4 = new QPushButton(QStringLiteral("关闭文件"), this);
    Button4->setToolTip(QStringLiteral("关闭打开的文件"));
    grid->addWidget(Label3, 1, 0, 1, 2);
    grid->addWidget(Button4, 1, 2);

    Label4 = new QLabel(QStringLiteral("设置分割份数："), this);
    Edit2 = numberField(this, QStringLiteral("2"));
    SpinButton1 = new SpinButton(this);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(withSpin(this, Edit2, SpinButton1), 2, 1);

    Label5 = new QLabel(QStringLiteral("设置分割大小："), this);
    Edit3 = numberField(this, QStringLiteral("0"));
    SpinButton2 = new SpinButton(this);
    grid->addWidget(Label5, 3, 0);
    grid->addWidget(withSpin(this, Edit3, SpinButton2), 3, 1);

    Label6 = new QLabel(QStringLiteral("分割剩余大小："), this);
    Edit4 = new QLineEdit(QStringLiteral("0"), this);
    Edit4->setReadOnly(true);
    grid->addWidget(Label6, 4, 0);
    grid->addWidget(Edit4, 4, 1);

    Cb1 = new QCheckBox(QStringLiteral("设置分割开始位置："), this);
    Edit5 = numberField(this, QStringLiteral("0"));
    SpinButton3 = new SpinButton(this);
    grid->addWidget(Cb1, 5, 0);
    grid->addWidget(withSpin(this, Edit5, SpinButton3), 5, 1);

    Button7 = new QPushButton(QStringLiteral("分割"), this);
    Button7->setToolTip(QStringLiteral("分割打开的文件"));
    Button8 = new QPushButton(QStringLiteral("合并"), this);
    grid->addWidget(Button7, 2, 2);
    grid->addWidget(Button8, 3, 2);

    Label7 = new QLabel(QStringLiteral("将另一文件接入到打开的文件："), this);
    grid->addWidget(Label7, 6, 0, 1, 3);
    Label8 = new QLabel(QStringLiteral("接入位置："), this);
    Edit6 = numberField(this, QStringLiteral("0"));
    SpinButton4 = new SpinButton(this);
    grid->addWidget(Label8, 7, 0);
    grid->addWidget(withSpin(this, Edit6, SpinButton4), 7, 1);
    CheckBox1 = new QCheckBox(QStringLiteral("接入前备份打开的文件"), this);
    Button2 = new QPushButton(QStringLiteral("接入文件"), this);
    grid->addWidget(CheckBox1, 8, 0, 1, 2);
    grid->addWidget(Button2, 8, 2);

    connect(Button1, &QPushButton::clicked, this, &Tfsf::Button1Click);
    connect(Button1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Button1->mapToGlobal(at)); });
    connect(N3, &QAction::triggered, this, &Tfsf::N3Click);
    connect(N4, &QAction::triggered, this, &Tfsf::N4Click);
    connect(Edit1, &QLineEdit::textChanged, this, &Tfsf::Edit1Change);
    connect(Button4, &QPushButton::clicked, this, &Tfsf::Button4Click);
    connect(Edit2, &QLineEdit::textChanged, this, &Tfsf::Edit2Change);
    connect(Edit3, &QLineEdit::textChanged, this, &Tfsf::Edit3Change);
    connect(Edit5, &QLineEdit::textChanged, this, &Tfsf::Edit5Change);
    connect(Edit6, &QLineEdit::textChanged, this, &Tfsf::Edit6Change);
    connect(Cb1, &QCheckBox::toggled, this, &Tfsf::Cb1Click);
    connect(SpinButton1, &SpinButton::UpClick, this, &Tfsf::SpinButton1UpClick);
    connect(SpinButton1, &SpinButton::DownClick, this, &Tfsf::SpinButton1DownClick);
    connect(SpinButton2, &SpinButton::UpClick, this, &Tfsf::SpinButton2UpClick);
    connect(SpinButton2, &SpinButton::DownClick, this, &Tfsf::SpinButton2DownClick);
    connect(SpinButton3, &SpinButton::UpClick, this, &Tfsf::SpinButton3UpClick);
    connect(SpinButton3, &SpinButton::DownClick, this, &Tfsf::SpinButton3DownClick);
    connect(SpinButton4, &SpinButton::UpClick, this, &Tfsf::SpinButton4UpClick);
    connect(SpinButton4, &SpinButton::DownClick, this, &Tfsf::SpinButton4DownClick);
    connect(Button7, &QPushButton::clicked, this, &Tfsf::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &Tfsf::Button8Click);
    connect(Button2, &QPushButton::clicked, this, &Tfsf::Button2Click);
}

// Everything but Button1, Cb1 and CheckBox1 follows whether a file is open; the start field also
// needs Cb1, and merge has its own rule (Edit1Change).
void Tfsf::setOpenControls(bool open)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, Button4, Label4, Edit2, SpinButton1, Label5, Edit3,
                                                      SpinButton2, Label6, Edit4, Button7, Label7, Label8, Edit6,
                                                      SpinButton4, Button2})
        w->setEnabled(open);
    Edit5->setEnabled(open && Cb1->isChecked());
    SpinButton3->setEnabled(open && Cb1->isChecked());
}

QString Tfsf::dialogFolder() const
{
    return m_file.IsOpen() ? QFileInfo(m_file.FileName()).absolutePath() : QString();
}

// --- Open and close ---

void Tfsf::Button1Click()
{
    if (m_file.IsOpen())
        Button4Click();
    const QString path = ui::Dialogs::get().openFile(this, QStringLiteral("打开"), QString(), kAllFiles);
    if (path.isEmpty())
        return;
    Edit1->setText(path);
    if (!splitmerge::io::exists(path))
        return;
    try {
        m_file.Open(path);
    } catch (const EOrvoError& e) {
        ui::Dialogs::get().error(this, e.message());
        return;
    }
    setOpenControls(true);
    const qint64 size = m_file.Size();
    Label3->setText(QStringLiteral("文件大小:") + QString::number(size) + QStringLiteral("  字节."));
    Edit6->setText(QString::number(size));   // insertion appends by default
    Edit6Change();
    if (Cb1->isChecked())
        Edit5Change();   // applies the start position and recomputes
    else
        Edit2Change();
    Edit1Change();
}

void Tfsf::Edit1Change()
{
    Button8->setEnabled(m_file.IsOpen() && splitmerge::mergeAvailable(Edit1->text()));
}

void Tfsf::Button4Click()
{
    m_file.Close();
    Edit1->clear();
    Label3->setText(QStringLiteral("文件大小："));
    setOpenControls(false);
    Button8->setEnabled(false);
}

void Tfsf::N3Click()
{
    ui::Dialogs::get().message(this, kHelpText);
}

void Tfsf::N4Click()
{
    ui::Dialogs::get().message(this, kAbout);
}

// --- Count, size and remainder ---

bool Tfsf::readCountField(QLineEdit* edit, SpinButton* spin, qint64* value)
{
    // 0 is refused like an empty field: it would divide by zero.
    if (splitmerge::parseField(edit->text(), value) && *value > 0)
        return true;
    Button7->setEnabled(false);
    spin->setEnabled(false);
    ui::Dialogs::get().message(this, kNumberError);
    edit->selectAll();
    edit->setFocus();
    return false;
}

bool Tfsf::readPositionField(QLineEdit* edit, QPushButton* button, qint64* value)
{
    if (splitmerge::parseField(edit->text(), value))
        return true;
    button->setEnabled(false);
    ui::Dialogs::get().warning(this, kPositionError, QStringLiteral("错误"));
    edit->selectAll();
    edit->setFocus();
    return false;
}

SplitFields Tfsf::currentFields() const
{
    SplitFields f;
    if (!splitmerge::parseField(Edit2->text(), &f.count))
        f.count = -1;
    if (!splitmerge::parseField(Edit3->text(), &f.size))
        f.size = -1;
    splitmerge::parseField(Edit4->text(), &f.remainder);
    return f;
}

void Tfsf::showFields(const SplitFields& f)
{
    m_settling = true;
    const QString count = QString::number(f.count);
    const QString size = QString::number(f.size);
    if (Edit2->text() != count)
        Edit2->setText(count);
    if (Edit3->text() != size)
        Edit3->setText(size);
    Edit4->setText(QString::number(f.remainder));
    m_settling = false;
    Button7->setEnabled(true);
    SpinButton1->setEnabled(true);
    SpinButton2->setEnabled(true);
}

void Tfsf::Edit2Change()
{
    if (m_settling || !m_file.IsOpen())
        return;
    qint64 n = 0;
    if (!readCountField(Edit2, SpinButton1, &n))
        return;
    showFields(splitmerge::settleFromCount(m_file.Available(), n, currentFields()));
}

void Tfsf::Edit3Change()
{
    if (m_settling || !m_file.IsOpen())
        return;
    qint64 s = 0;
    if (!readCountField(Edit3, SpinButton2, &s))
        return;
    showFields(splitmerge::settleFromSize(m_file.Available(), s, currentFields()));
}

void Tfsf::Edit5Change()
{
    if (m_settling || !m_file.IsOpen() || !Cb1->isChecked())
        return;
    qint64 p = 0;
    if (!readPositionField(Edit5, Button7, &p))
        return;
    Button7->setEnabled(true);
    SpinButton3->setEnabled(true);
    if (p >= m_file.Size()) {
        p = 0;
        m_settling = true;
        Edit5->setText(QStringLiteral("0"));
        m_settling = false;
    }
    m_file.SetPosition(p);
    Edit2Change();
}

void Tfsf::Cb1Click()
{
    const bool on = Cb1->isChecked();
    Edit5->setEnabled(on && m_file.IsOpen());
    SpinButton3->setEnabled(on && m_file.IsOpen());
    if (!m_file.IsOpen())
        return;
    if (on) {
        Edit5Change();
    } else {
        m_file.SetPosition(0);
        Edit2Change();
    }
}

void Tfsf::Edit6Change()
{
    if (m_settling || !m_file.IsOpen())
        return;
    qint64 p = 0;
    if (readPositionField(Edit6, Button2, &p))
        Button2->setEnabled(true);
}

// --- Spin buttons: down while above 1, up while below the field's limit ---

void Tfsf::spin(QLineEdit* edit, int step, qint64 upperLimit)
{
    qint64 v = 0;
    if (!splitmerge::parseField(edit->text(), &v))
        return;
    if (step < 0 && v > 1)
        edit->setText(QString::number(v - 1));
    else if (step > 0 && v < upperLimit)
        edit->setText(QString::number(v + 1));
}

void Tfsf::SpinButton1UpClick() { spin(Edit2, 1, m_file.Available()); }
void Tfsf::SpinButton1DownClick() { spin(Edit2, -1, 0); }
void Tfsf::SpinButton2UpClick() { spin(Edit3, 1, m_file.Available()); }
void Tfsf::SpinButton2DownClick() { spin(Edit3, -1, 0); }
void Tfsf::SpinButton3UpClick() { spin(Edit5, 1, m_file.Size() - 1); }
void Tfsf::SpinButton3DownClick() { spin(Edit5, -1, 0); }
void Tfsf::SpinButton4UpClick() { spin(Edit6, 1, m_file.Size()); }
void Tfsf::SpinButton4DownClick() { spin(Edit6, -1, 0); }

// --- Long work ---

bool Tfsf::runBusy(const std::function<void()>& work)
{
    m_busy = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    try {
        work();
    } catch (const EOrvoError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    QGuiApplication::restoreOverrideCursor();
    m_busy = false;
    if (failure.isEmpty())
        return true;
    ui::Dialogs::get().error(this, failure);
    return false;
}

// --- Split, merge, insert ---

void Tfsf::Button7Click()
{
    if (!m_file.IsOpen() || m_busy)
        return;
    if (m_file.Size() == 0) {
        ui::Dialogs::get().error(this, kEmptyFile);
        return;
    }
    qint64 pieceSize = 0;
    if (!readCountField(Edit3, SpinButton2, &pieceSize))
        return;
    const QString base =
        ui::Dialogs::get().saveFile(this, QStringLiteral("另存为"), dialogFolder(), kAllFiles, QString(), false);
    if (base.isEmpty())
        return;
    qint64 start = 0;
    if (Cb1->isChecked() && SpinButton3->isEnabled() && splitmerge::parseField(Edit5->text(), &start))
        m_file.SetPosition(start);

    m_file.OnReplace = [this](FileSplitter*, const QString& path) {
        QGuiApplication::restoreOverrideCursor();
        const bool yes = ui::Dialogs::get().question(this, path + kReplaceQuestion, kReplaceCaption) == ui::Dialogs::Yes;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    m_file.OnProgress = [this](FileSplitter*, qint64, qint64) { m_pump.tick(); };
    FileSplitter::Outcome outcome = FileSplitter::Outcome::Stopped;
    if (!runBusy([&] { outcome = m_file.Split(base, pieceSize); }))
        return;
    Button4Click();
    ui::Dialogs::get().message(this, outcome == FileSplitter::Outcome::Completed ? kSplitDone : kSplitStopped);
}

void Tfsf::Button8Click()
{
    if (!m_file.IsOpen() || m_busy)
        return;
    const QString base = splitmerge::mergeBase(Edit1->text());
    const QString output =
        ui::Dialogs::get().saveFile(this, QStringLiteral("另存为"), dialogFolder(), kAllFiles, QString(), false);
    if (output.isEmpty())
        return;
    PieceMerger merger(base, output);
    try {
        merger.Check(m_file.FileName());
    } catch (const EOrvoError& e) {
        ui::Dialogs::get().error(this, e.message());
        return;
    }
    if (splitmerge::io::exists(output) &&
        ui::Dialogs::get().question(this, kReplaceQuestion, kReplaceCaption) != ui::Dialogs::Yes)
        return;
    Button4Click();
    merger.OnProgress = [this](PieceMerger*, qint64) { m_pump.tick(); };
    if (!runBusy([&] { merger.Execute(); }))
        return;
    ui::Dialogs::get().message(this, kMergeDone);
}

void Tfsf::Button2Click()
{
    if (!m_file.IsOpen() || m_busy)
        return;
    qint64 position = 0;
    if (!readPositionField(Edit6, Button2, &position))
        return;
    const QString source =
        ui::Dialogs::get().saveFile(this, QStringLiteral("接入文件"), dialogFolder(), kAllFiles, QString(), false);
    if (source.isEmpty())
        return;
    const QString backup = CheckBox1->isChecked() ? FileSplitter::BackupName(m_file.FileName()) : QString();
    m_file.OnReplace = [this](FileSplitter*, const QString&) {
        QGuiApplication::restoreOverrideCursor();
        const bool yes = ui::Dialogs::get().question(this, kReplaceQuestion, kReplaceCaption) == ui::Dialogs::Yes;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    m_file.OnProgress = [this](FileSplitter*, qint64, qint64) { m_pump.tick(); };
    bool inserted = false;
    if (!runBusy([&] { inserted = m_file.Insert(source, position, backup); }))
        return;
    if (inserted)
        Button4Click();
}

void Tfsf::closeEvent(QCloseEvent* e)
{
    if (m_busy) {
        e->ignore();
        return;
    }
    m_file.Close();
    if (m_mainWindow && !QCoreApplication::closingDown())
        m_mainWindow->show();
    e->accept();
}
