#pragma once
// The date rewrite window ("修改日期/时间"): one date and time for the modification time of the selected
// files. The picker edits the date or the time of day; OK keeps the chosen value (midnight as 00:00:02).
#include <QDateTime>
#include <QDialog>

class QDateTimeEdit;
class QLabel;
class QPushButton;
class QRadioButton;

class TFileDateForm : public QDialog {
    Q_OBJECT
public:
    explicit TFileDateForm(QWidget* parent = nullptr);

    // The chosen local date and time, set by OK.
    QDateTime Result;

    void FormActivate();
    void RadioButton1Click();
    void RadioButton2Click();
    void BtnOKClick();
    void BtnCancelClick();

    QLabel* Label1 = nullptr;                // " 选择新的日期或时间: "
    QDateTimeEdit* DTPicker1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;    // "修改日期 "
    QRadioButton* RadioButton2 = nullptr;    // "修改时间 "
    QPushButton* BtnOK = nullptr;            // "确定"
    QPushButton* BtnCancel = nullptr;        // "取消"

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_activated = false;
};
