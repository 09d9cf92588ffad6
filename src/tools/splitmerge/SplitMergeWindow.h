#pragma once
#include "platform/Pump.h"
#include "tools/splitmerge/engine/FileSplitter.h"
#include "tools/splitmerge/engine/SplitFields.h"
#include <QPointer>
#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SpinButton;

// "文件分割或合并": cuts the opened file into numbered pieces, joins numbered pieces into one file, and
// writes another file into the opened file at a position. Stays on top; when it closes it shows the
// main window (if one was given) again.
class Tfsf : public QWidget {
    Q_OBJECT
public:
    explicit Tfsf(QWidget* parent = nullptr);
    ~Tfsf() override;

    // The window shown again when this one closes.
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    QWidget* mainWindow() const { return m_mainWindow; }
    const splitmerge::FileSplitter& openedFile() const { return m_file; }

    // --- Handlers ---
    void Button1Click();            // open
    void Edit1Change();             // merge availability
    void Button4Click();            // close
    void N3Click();                 // help
    void N4Click();                 // about
    void Edit2Change();             // pieces count
    void Edit3Change();             // piece size
    void Edit5Change();             // start position
    void Cb1Click();
    void Edit6Change();             // insertion position
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    void SpinButton3UpClick();
    void SpinButton3DownClick();
    void SpinButton4UpClick();
    void SpinButton4DownClick();
    void Button7Click();            // split
    void Button8Click();            // merge
    void Button2Click();            // insert another file

    // --- Controls ---
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button4 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit2 = nullptr;
    SpinButton* SpinButton1 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    SpinButton* SpinButton2 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QCheckBox* Cb1 = nullptr;
    QLineEdit* Edit5 = nullptr;
    SpinButton* SpinButton3 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit6 = nullptr;
    SpinButton* SpinButton4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button2 = nullptr;

    static const QString kCaption;        // "文件分割或合并"
    static const QString kNumberError;    // count and size fields
    static const QString kPositionError;  // start and insertion fields
    static const QString kHelpText;
    static const QString kSplitDone;
    static const QString kSplitStopped;
    static const QString kMergeDone;
    static const QString kReplaceQuestion;  // "文件存在,要改写吗?"
    static const QString kReplaceCaption;   // "文件存在"

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void setOpenControls(bool open);
    QString dialogFolder() const;
    // Number fields: reads the value or refuses it with the field's message.
    bool readCountField(QLineEdit* edit, SpinButton* spin, qint64* value);
    bool readPositionField(QLineEdit* edit, QPushButton* button, qint64* value);
    void showFields(const splitmerge::SplitFields& f);
    splitmerge::SplitFields currentFields() const;
    void spin(QLineEdit* edit, int step, qint64 upperLimit);
    // Runs long work with the busy cursor; the window repaints, takes no input and cannot close meanwhile.
    bool runBusy(const std::function<void()>& work);

    splitmerge::FileSplitter m_file;
    QPointer<QWidget> m_mainWindow;
    bool m_settling = false;
    bool m_busy = false;
    plat::PumpGate m_pump{15, QEventLoop::ExcludeUserInputEvents};   // long work repaints at most every 15 ms
};
