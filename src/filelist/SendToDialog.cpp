#include "filelist/SendToDialog.h"
#include "platform/Path.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SendToDialog::SendToDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SendToDialog"));
    setWindowTitle(QStringLiteral("发送到文件夹"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Label1 = new QLabel(QStringLiteral("请确定发送到的路径:      "));
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(320);
    OkButton = new QPushButton(QStringLiteral("确定"));
    CancelButton = new QPushButton(QStringLiteral("取消"));
    BrowseButton = new QPushButton(QStringLiteral("浏览... "));
    OkButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(BrowseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    connect(OkButton, &QPushButton::clicked, this, [this] {
        m_choice = Typed;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        m_choice = Cancelled;
        reject();
    });
    connect(BrowseButton, &QPushButton::clicked, this, [this] {
        m_choice = Browse;
        accept();
    });
}

SendToDialog::Choice SendToDialog::run(QString& folder)
{
    m_choice = Cancelled;
    exec();
    folder = m_choice == Typed ? plat::path::withTrailingSep(Edit1->text()) : QString();
    return m_choice;
}
