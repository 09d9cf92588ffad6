#pragma once
#include "platform/Pump.h"
#include "tools/compare/engine/FileCompare.h"
#include <QDialog>

class QPushButton;
class QScrollBar;
class QSpinBox;
class CompareGrid;

// The result window "文件比较": runs the comparison of two files and shows the grid with next/previous
// difference buttons. Esc during a long comparison cancels it.
class Tfcdat : public QDialog {
    Q_OBJECT
public:
    explicit Tfcdat(QWidget* parent = nullptr);

    // Shows the window, compares file1 (column 1) with file2 (column 2) under the busy cursor and fills the grid.
    // Returns false when the comparison was cancelled or failed (the failure has been shown).
    bool Compare(const QString& file1, const QString& file2);
    const FileCompare& result() const { return m_engine; }
    FileCompare& engine() { return m_engine; }
    bool running() const { return m_running; }

    CompareGrid* Grid = nullptr;
    QScrollBar* VScrollBar = nullptr;
    QScrollBar* HScrollBar = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* UpBitBtn = nullptr;
    QPushButton* DownBitBtn = nullptr;

    void DownBitBtnClick();
    void UpBitBtnClick();
    void VScrollBarChange();
    void HScrollBarChange();
    void SpinEdit1Change();
    void FormResize();

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int middleRow() const;
    void scrollToDifference(int row);
    void SetBtnState();
    void progress();

    FileCompare m_engine;
    plat::PumpGate m_gate;
    bool m_running = false;
    bool m_cancel = false;
};
