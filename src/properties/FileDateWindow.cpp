#include "properties/FileDateWindow.h"
#include "properties/engine/PackedTime.h"
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFileDateForm::TFileDateForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FileDateForm"));
    setWindowTitle(QStringLiteral("修改日期/时间"));
    Label1 = new QLabel(QStringLiteral(" 选择新的日期或时间: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DTPicker1 = new QDateTimeEdit(this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    RadioButton1 = new QRadioButton(QStringLiteral("修改日期 "), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("修改时间 "), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    BtnOK = new QPushButton(QStringLiteral("确定"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    RadioButton1Click();

    auto* radios = new QHBoxLayout;
    radios->addWidget(RadioButton1);
    radios->addWidget(RadioButton2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(DTPicker1);
    top->addLayout(radios);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioButton1, &QRadioButton::clicked, this, &TFileDateForm::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFileDateForm::RadioButton2Click);
    connect(BtnOK, &QPushButton::clicked, this, &TFileDateForm::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFileDateForm::BtnCancelClick);
}

void TFileDateForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once per showing: coming back from another window keeps what the user chose.
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TFileDateForm::FormActivate()
{
    const QDateTime now = QDateTime::currentDateTime();
    DTPicker1->setDateTime(QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second())));
}

void TFileDateForm::RadioButton1Click()
{
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DTPicker1->setCalendarPopup(true);
    // Only what the packed form holds (time editing had kept the picker to its day).
    DTPicker1->setDateTimeRange(QDateTime(properties::firstPackedDate(), QTime(0, 0)),
                                QDateTime(properties::lastPackedDate(), properties::lastPackedTimeOfDay()));
}

void TFileDateForm::RadioButton2Click()
{
    DTPicker1->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    DTPicker1->setCalendarPopup(false);
}

void TFileDateForm::BtnOKClick()
{
    const QDateTime chosen = DTPicker1->dateTime();
    Result = QDateTime(chosen.date(), properties::withMidnightRule(chosen.time()));
    accept();
}

void TFileDateForm::BtnCancelClick()
{
    reject();
}
