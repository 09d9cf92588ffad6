#pragma once
#include "platform/Pump.h"
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <deque>

class QComboBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The MD5 window " MD5 校验": hashes files chosen with the dialog, dropped onto the window or handed over by
// the main window, and appends one result block per file to the log. Files handed over while one is being
// hashed are queued and hashed afterwards, in order. Closing the window while it hashes cancels the file;
// the window is freed once the hashing has unwound.
class THashMD5Form : public QWidget {
    Q_OBJECT
public:
    explicit THashMD5Form(QWidget* parent = nullptr);
    ~THashMD5Form() override;

    // Hashes one file (queued when a file is being hashed) and appends its block.
    void HashFile(const QString& FileName);
    // Dropped shell files: folders are refused with an error box, everything else is hashed.
    void WMDropFiles(const QStringList& paths);

    void Button1Click();
    void Button2Click();
    void mmResultMouseDown(QMouseEvent* event, QWidget* source);

    bool hashing() const { return m_running; }
    bool closing() const { return m_closing; }

    // "500 bytes", "1.5 KB", "1 MB": the size divided by 1024 up to four times, "#,##0.##" and the unit.
    static QString SizeText(qint64 size);
    // The mode text of the result block.
    static QString ModeText(int mode);

    QLabel* Label2 = nullptr;
    QPlainTextEdit* mmResult = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job {
        QString path;
        bool dropped;   // folders are refused with a message
    };
    void FormCreate();
    void FormClose();
    void runQueue();
    void hashOne(const QString& fileName);
    void progress(bool& cancel, qint64 done, qint64 total);
    void centreOnDesktop();

    std::deque<Job> m_queue;
    bool m_cancel = false;      // the cancel request of the current file
    bool m_running = false;     // the queue is being worked off
    bool m_closing = false;     // closed while hashing: free once the hashing has unwound
    bool m_firstBlock = true;
    qint64 m_nextClockCheck = 0;
    plat::PumpGate m_pump{40};  // events run at most every 40 ms while hashing
    QElapsedTimer m_paintTimer;
    // Window move when the platform cannot move it: offset of the pointer from the window's corner.
    bool m_moving = false;
    QPoint m_moveOffset;
};
