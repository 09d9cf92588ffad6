#include "properties/AttributeWindow.h"
#include "platform/FileSystem.h"
#include "platform/IconKeys.h"
#include "platform/Path.h"
#include "properties/engine/PackedTime.h"
#include "ui/Dialogs.h"
#include "ui/IconCache.h"
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

const QString TfrmAttribute::kIconFilter = QStringLiteral(
    "Icons (*.ico)|*.ico|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|all (*.*)|*.*");
const QString TfrmAttribute::kIconExtension = QStringLiteral(".ico");

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kClockFormat = QStringLiteral("HH:mm:ss");

QLabel* newLabel(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QCheckBox* newCheckBox(QWidget* parent, const char* name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

QPushButton* newButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QString localText(const QDateTime& t)
{
    return QLocale::c().toString(t, kTimeFormat);
}

} // namespace

QString TfrmAttribute::creationNotSettableText()
{
    return QStringLiteral("Linux 不支持修改创建时间");
}

TfrmAttribute::TfrmAttribute(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAttribute"));
    setWindowTitle(QStringLiteral("属性"));

    Image1 = newLabel(this, "Image1");
    Image1->setFixedSize(36, 36);
    Image1->setAlignment(Qt::AlignCenter);
    FileName = newLabel(this, "FileName");
    FileName->setMouseTracking(true);
    Label5 = newLabel(this, "Label5", QStringLiteral("类型:"));
    FileType = newLabel(this, "FileType");
    Label3 = newLabel(this, "Label3", QStringLiteral("位置:"));
    FilePath = newLabel(this, "FilePath");
    FilePath->setMouseTracking(true);
    Label6 = newLabel(this, "Label6", QStringLiteral("大小:"));
    FileSize = newLabel(this, "FileSize");
    Label9 = newLabel(this, "Label9", QStringLiteral("MS-DOS 名称:"));
    DosName = newLabel(this, "DosName");
    Label7 = newLabel(this, "Label7", QStringLiteral("创建时间:"));
    Label4 = newLabel(this, "Label4", QStringLiteral("修改时间:"));
    Label8 = newLabel(this, "Label8", QStringLiteral("访问时间:"));
    Label1 = newLabel(this, "Label1", QStringLiteral("属性："));

    const auto timeEdit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        QPalette p = e->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));   // the button face colour
        e->setPalette(p);
        e->installEventFilter(this);
        return e;
    };
    CreateTime = timeEdit("CreateTime");
    WriteTime = timeEdit("WriteTime");
    accessTime1 = timeEdit("accessTime1");
    const auto picker = [this](const char* name) {
        auto* p = new QDateTimeEdit(this);
        p->setObjectName(QLatin1String(name));
        p->setDisplayFormat(kDateFormat);
        p->setCalendarPopup(true);
        p->hide();
        return p;
    };
    DateTimePicker1 = picker("DateTimePicker1");
    DateTimePicker2 = picker("DateTimePicker2");
    DateTimePicker3 = picker("DateTimePicker3");
    CheckBox1 = newCheckBox(this, "CheckBox1", QString());
    CheckBox2 = newCheckBox(this, "CheckBox2", QString());
    CheckBox3 = newCheckBox(this, "CheckBox3", QString());
    for (QCheckBox* c : {CheckBox1, CheckBox2, CheckBox3})
        c->setChecked(true);
    // Linux keeps a creation time but cannot set it: shown, never requested.
    CheckBox1->setChecked(false);
    CheckBox1->setEnabled(false);
    CreateTime->setReadOnly(true);
    DateTimePicker1->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(Label7), static_cast<QWidget*>(CreateTime), static_cast<QWidget*>(CheckBox1)})
        w->setToolTip(creationNotSettableText());
    Label4->setToolTip(QStringLiteral("鼠标左键双击..."));
    Label8->setToolTip(QStringLiteral("鼠标左键双击..."));

    ReadOnly = newCheckBox(this, "ReadOnly", QStringLiteral("只读(&R)"));
    Archive = newCheckBox(this, "Archive", QStringLiteral("存档(&C)"));
    System = newCheckBox(this, "System", QStringLiteral("系统(&S)"));
    Hidden = newCheckBox(this, "Hidden", QStringLiteral("隐藏(&D)"));
    // Archive and system follow the kind of entry on Linux; they are shown, not set.
    Archive->setEnabled(false);
    System->setEnabled(false);

    Button3 = newButton(this, "Button3", QStringLiteral("填写"));
    Button3->setEnabled(false);
    ok = newButton(this, "ok", QStringLiteral("确定"));
    ok->setDefault(true);
    cel = newButton(this, "cel", QStringLiteral("取消"));
    yall = newButton(this, "yall", QStringLiteral("全部都"));
    noall = newButton(this, "noall", QStringLiteral("全部不"));

    for (QLabel* l : {Image1, FileName, FilePath, Label7, Label4, Label8})
        l->installEventFilter(this);

    // Layout: icon and name, the item's facts, the times, the attributes, the buttons.
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(Image1, row, 0);
    grid->addWidget(FileName, row++, 1, 1, 3);
    const auto fact = [&](QLabel* caption, QLabel* value) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row++, 1, 1, 3);
    };
    fact(Label5, FileType);
    fact(Label3, FilePath);
    fact(Label6, FileSize);
    fact(Label9, DosName);
    const auto time = [&](QLabel* caption, QLineEdit* edit, QDateTimeEdit* picker, QCheckBox* box) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(picker, row, 2);
        grid->addWidget(box, row++, 3);
    };
    time(Label7, CreateTime, DateTimePicker1, CheckBox1);
    time(Label4, WriteTime, DateTimePicker2, CheckBox2);
    time(Label8, accessTime1, DateTimePicker3, CheckBox3);
    auto* attrs = new QHBoxLayout;
    attrs->addWidget(Label1);
    for (QCheckBox* c : {ReadOnly, Archive, System, Hidden})
        attrs->addWidget(c);
    attrs->addStretch();
    attrs->addWidget(Button3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {ok, cel, yall, noall})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(attrs);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);   // a fixed single border

    connect(ok, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(cel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(noall, &QPushButton::clicked, this, [this] { done(mrNoToAll); });
    connect(yall, &QPushButton::clicked, this, &TfrmAttribute::yallClick);
    connect(Button3, &QPushButton::clicked, this, &TfrmAttribute::DateTimePickerChange);
    connect(DateTimePicker1, &QDateTimeEdit::dateTimeChanged, this, &TfrmAttribute::DateTimePicker1Change);
    connect(DateTimePicker2, &QDateTimeEdit::dateTimeChanged, this, &TfrmAttribute::DateTimePicker2Change);
    connect(DateTimePicker3, &QDateTimeEdit::dateTimeChanged, this, &TfrmAttribute::DateTimePicker3Change);
}

void TfrmAttribute::showItem(const properties::ItemInfo& item)
{
    m_iconKey = item.iconKey;
    m_iconIsDir = item.isDir();
    Image1->setPixmap(ui::IconCache::instance().icon(plat::iconIndex(item.iconKey)).pixmap(32, 32));
    FileName->setText(item.name);
    FileName->setToolTip(item.name);
    FileType->setText(item.typeName);
    // The item's own folder (its list may not be the one the path bar shows).
    FilePath->setText(plat::path::folderPart(item.path));
    FilePath->setToolTip(FilePath->text());
    FileSize->setText(properties::sizeText(item.size));
    DosName->setText(item.shortName);
    const struct {
        QLineEdit* edit;
        QDateTimeEdit* picker;
        plat::posix::FileTime time;
    } times[] = {{CreateTime, DateTimePicker1, item.creation},
                 {WriteTime, DateTimePicker2, item.write},
                 {accessTime1, DateTimePicker3, item.access}};
    for (const auto& t : times) {
        const QString text = properties::timeText(t.time);
        const QSignalBlocker block(t.picker);
        t.picker->setDateTime(QLocale::c().toDateTime(text, kTimeFormat));
        t.edit->setText(text);
    }
    ReadOnly->setChecked(item.attributes & plat::kAttrReadOnly);
    Archive->setChecked(item.attributes & plat::kAttrArchive);
    System->setChecked(item.attributes & plat::kAttrSystem);
    Hidden->setChecked(item.attributes & plat::kAttrHidden);
}

properties::AttributeSettings TfrmAttribute::settings() const
{
    properties::AttributeSettings s;
    s.readOnly = ReadOnly->isChecked();
    s.archive = Archive->isChecked();
    s.system = System->isChecked();
    s.hidden = Hidden->isChecked();
    s.creationText = CreateTime->text();
    s.writeText = WriteTime->text();
    s.accessText = accessTime1->text();
    s.creationChecked = false;   // never requested on Linux
    s.writeChecked = CheckBox2->isChecked();
    s.accessChecked = CheckBox3->isChecked();
    return s;
}

// --- Times and pickers ---

void TfrmAttribute::setPickerTimeMode(QDateTimeEdit* picker, bool time)
{
    picker->setProperty("timeMode", time);
    picker->setDisplayFormat(time ? kClockFormat : kDateFormat);
    picker->setCalendarPopup(!time);
    if (!time) {
        // Time editing keeps the picker to its day; date editing offers every day again.
        picker->clearMinimumDateTime();
        picker->clearMaximumDateTime();
    }
}

void TfrmAttribute::showPicker(QDateTimeEdit* picker)
{
    if (!picker->isEnabled())
        return;
    picker->show();
    Button3->setEnabled(true);
}

void TfrmAttribute::labelDblClick(QDateTimeEdit* picker, QLineEdit* edit)
{
    if (!picker->isEnabled())
        return;
    if (picker->isHidden()) {
        showPicker(picker);
        edit->setText(localText(picker->dateTime()));
    } else {
        setPickerTimeMode(picker, !picker->property("timeMode").toBool());
    }
    Button3->setEnabled(true);
}

void TfrmAttribute::Label7DblClick()
{
    labelDblClick(DateTimePicker1, CreateTime);
}

void TfrmAttribute::Label4DblClick()
{
    labelDblClick(DateTimePicker2, WriteTime);
}

void TfrmAttribute::Label8DblClick()
{
    labelDblClick(DateTimePicker3, accessTime1);
}

void TfrmAttribute::CreateTimeDblClick()
{
    showPicker(DateTimePicker1);
}

void TfrmAttribute::WriteTimeDblClick()
{
    showPicker(DateTimePicker2);
}

void TfrmAttribute::accessTime1DblClick()
{
    showPicker(DateTimePicker3);
}

void TfrmAttribute::pickerChanged(QDateTimeEdit* picker, QLineEdit* edit)
{
    edit->setText(localText(picker->dateTime()));
}

void TfrmAttribute::DateTimePicker1Change()
{
    pickerChanged(DateTimePicker1, CreateTime);
}

void TfrmAttribute::DateTimePicker2Change()
{
    pickerChanged(DateTimePicker2, WriteTime);
}

void TfrmAttribute::DateTimePicker3Change()
{
    pickerChanged(DateTimePicker3, accessTime1);
}

void TfrmAttribute::DateTimePickerChange()
{
    for (QDateTimeEdit* p : {DateTimePicker1, DateTimePicker2, DateTimePicker3})
        p->hide();
    Button3->setEnabled(false);
}

bool TfrmAttribute::accessTime1KeyPress(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;   // editing and navigation keys, shortcuts
    const QChar c = text.at(0);
    if (text.size() == 1 && ((c >= u'0' && c <= u'9') || c == u' ' || c == u'-' || c == u':'))
        return false;
    ui::Dialogs::get().beep();
    return true;
}

// --- Icon, labels ---

void TfrmAttribute::Image1DblClick()
{
    const QString chosen = ui::Dialogs::get().saveFile(this, QStringLiteral("另存为"), QString(), kIconFilter,
                                                       kIconExtension, false);
    if (chosen.isEmpty())
        return;
    saveIcon(chosen + kIconExtension);
}

void TfrmAttribute::saveIcon(const QString& fileName)
{
    ui::Dialogs& dialogs = ui::Dialogs::get();
    if (QFileInfo::exists(fileName)
        && dialogs.question(this, QStringLiteral("文件“%1”已存在，要替换它吗？").arg(fileName), windowTitle())
               != ui::Dialogs::Yes)
        return;
    const QImage image = ui::IconCache::instance().icon(plat::iconIndex(m_iconKey)).pixmap(32, 32).toImage();
    QSaveFile file(fileName);
    QImageWriter writer(&file, "ico");
    if (image.isNull() || !file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit())
        dialogs.error(this, QStringLiteral("不能保存图标“%1”").arg(fileName));
}

void TfrmAttribute::FileNameMouseMove()
{
    FileName->setToolTip(FileName->text());
}

void TfrmAttribute::FilePathMouseMove()
{
    FilePath->setToolTip(FilePath->text());
}

// --- All ---

void TfrmAttribute::yallClick()
{
    const properties::AttributeSettings s = settings();
    ui::Dialogs& dialogs = ui::Dialogs::get();
    try {
        properties::checkTimeTexts(s);
        for (int i = RunIndex; i < RunPaths.size(); ++i) {
            int error = 0;
            const std::optional<properties::ItemInfo> item = properties::readItem(RunPaths[i], &error);
            if (!item)
                continue;   // gone since the run started
            const properties::ApplyResult r = properties::applySettings(*item, s);
            RunChanged = RunChanged || r.changed;
            if (r.timeError)
                dialogs.error(this, properties::timeChangeFailedText());
        }
    } catch (const std::exception& e) {
        dialogs.error(this, QString::fromUtf8(e.what()));
    }
    done(mrYesToAll);
}

// --- Events ---

bool TfrmAttribute::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == Label7)
            Label7DblClick();
        else if (watched == Label4)
            Label4DblClick();
        else if (watched == Label8)
            Label8DblClick();
        else if (watched == CreateTime)
            CreateTimeDblClick();
        else if (watched == WriteTime)
            WriteTimeDblClick();
        else if (watched == accessTime1)
            accessTime1DblClick();
        else if (watched == Image1)
            Image1DblClick();
        break;
    case QEvent::MouseMove:
        if (watched == FileName)
            FileNameMouseMove();
        else if (watched == FilePath)
            FilePathMouseMove();
        break;
    case QEvent::KeyPress:
        if (watched == CreateTime || watched == WriteTime || watched == accessTime1)
            return accessTime1KeyPress(static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAttribute::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}
