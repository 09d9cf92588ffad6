#pragma once
#include "tools/compress/engine/ZakCodec.h"
#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The compress/decompress window: asks for a source and a destination, runs ZnZip1 in one direction, shows
// progress and lets the user cancel. A button whose caption is its cancel text has its job running; the other
// direction's button is disabled meanwhile.
class Tysjys : public QWidget {
    Q_OBJECT
public:
    explicit Tysjys(QWidget* parent = nullptr);
    ~Tysjys() override;

    QPushButton* Button1 = nullptr;     // compress
    QPushButton* Button2 = nullptr;     // decompress
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    TZnZip ZnZip1;

    QString statusText() const;         // panel 0 of the status bar
    qint64 total() const { return m_total; }
    // The bar position for a done count, in bytes or in percent.
    int progressPosition(qint64 nHasDone) const;

    void Button1Click();
    void Button2Click();
    void ZnZip1Begin(TZnZip* sender, qint64 nMax);
    void ZnZip1Process(TZnZip* sender, qint64 nHasDone);
    void ZnZip1End(TZnZip* sender, bool nNormal, float nZipRate);
    void FormClose();
    void FormMouseDown(QMouseEvent* e);

protected:
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct JobTexts;
    void runButton(QPushButton* button, QPushButton* other, const JobTexts& t);
    void setIdle();
    void setStatus(const QString& text);
    void showProgress();

    QLabel* m_panel = nullptr;
    qint64 m_total = 0;
    bool m_percent = false;
    qint64 m_pendingDone = 0;
    QElapsedTimer m_paintClock;
    QString m_jobSource;                // the running job's source, for the cancel question
    bool m_dragging = false;
    QPoint m_dragOffset;
};
