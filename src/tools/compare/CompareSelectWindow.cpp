#include "tools/compare/CompareSelectWindow.h"
#include "platform/Path.h"
#include "tools/compare/CompareResultWindow.h"
#include "ui/Dialogs.h"
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <memory>

namespace {

// Only a regular file (or a link to one) can be compared; a folder, device or pipe names no file.
bool namesFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

} // namespace

TFC::TFC(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FC"));
    setWindowTitle(QStringLiteral("文件比较"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    Label1 = new QLabel(QStringLiteral("比较文件1：      "), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button1 = new QPushButton(QStringLiteral("选取文件1..."), this);
    Label2 = new QLabel(QStringLiteral("比较文件2：      "), this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Button2 = new QPushButton(QStringLiteral("选取文件2..."), this);
    OKBtn = new QPushButton(QStringLiteral("比较"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("取消"), this);
    for (QPushButton* b : {Button1, Button2, CancelBtn})
        b->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Button1, 0, 2);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(Button2, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    top->addLayout(buttons);
    Edit1->setMinimumWidth(320);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(Button1, &QPushButton::clicked, this, &TFC::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFC::Button2Click);
    connect(OKBtn, &QPushButton::clicked, this, &TFC::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TFC::CancelBtnClick);
}

void TFC::chooseFile(QLineEdit* edit)
{
    const QString start = edit->text().isEmpty() ? QString() : plat::path::folderPart(edit->text());
    const QString file = ui::Dialogs::get().openFile(this, QStringLiteral("选取文件进行比较"), start,
                                                     QStringLiteral("全部文件(*.*)|*.*|txt文件(*.txt)|*.txt"));
    if (file.isEmpty())
        return;
    // The path keeps its case: names that differ only in case are different files here.
    edit->setText(file);
    edit->setToolTip(file);
}

void TFC::Button1Click()
{
    chooseFile(Edit1);
}

void TFC::Button2Click()
{
    chooseFile(Edit2);
}

void TFC::OKBtnClick()
{
    if (!namesFile(Edit1->text())) {
        Edit1->setFocus();
        return;
    }
    if (!namesFile(Edit2->text())) {
        Edit2->setFocus();
        return;
    }
    QPointer<TFC> self(this);
    hide();
    auto result = std::make_unique<Tfcdat>();
    const bool shown = result->Compare(Edit1->text(), Edit2->text());
    if (shown)
        result->exec();
    result.reset();
    if (!self)
        return;
    if (shown)
        close();
    else
        show();   // cancelled or failed: the choice stays open
}

void TFC::CancelBtnClick()
{
    close();
}
