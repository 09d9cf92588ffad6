#pragma once
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class Tfcdat;

// The selection window "文件比较": picks two files and opens the result window on them.
class TFC : public QDialog {
    Q_OBJECT
public:
    explicit TFC(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    void Button1Click();
    void Button2Click();
    void OKBtnClick();
    void CancelBtnClick();

private:
    void chooseFile(QLineEdit* edit);
};
