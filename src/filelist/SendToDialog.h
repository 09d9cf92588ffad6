#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The send-to dialog: a path typed in, or the folder browser asked for.
class SendToDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Cancelled, Typed, Browse };
    explicit SendToDialog(QWidget* parent = nullptr);

    // Runs the dialog; the folder (with a trailing '/') for Typed, empty otherwise.
    Choice run(QString& folder);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* OkButton = nullptr;      // "确定"
    QPushButton* CancelButton = nullptr;  // "取消"
    QPushButton* BrowseButton = nullptr;  // "浏览... "

private:
    Choice m_choice = Cancelled;
};
