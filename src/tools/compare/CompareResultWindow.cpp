#include "tools/compare/CompareResultWindow.h"
#include "tools/compare/CompareGrid.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <algorithm>

Tfcdat::Tfcdat(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fcdat"));
    setWindowTitle(QStringLiteral("文件比较"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);

    Grid = new CompareGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    VScrollBar = new QScrollBar(Qt::Vertical, this);
    VScrollBar->setObjectName(QStringLiteral("VScrollBar"));
    VScrollBar->setRange(1, 1);
    HScrollBar = new QScrollBar(Qt::Horizontal, this);
    HScrollBar->setObjectName(QStringLiteral("HScrollBar"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 2100000000);
    SpinEdit1->setValue(1000);
    HScrollBar->setRange(0, SpinEdit1->value());
    UpBitBtn = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this);
    UpBitBtn->setObjectName(QStringLiteral("UpBitBtn"));
    UpBitBtn->setEnabled(false);
    UpBitBtn->setAutoDefault(false);
    DownBitBtn = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this);
    DownBitBtn->setObjectName(QStringLiteral("DownBitBtn"));
    DownBitBtn->setEnabled(false);
    DownBitBtn->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->addWidget(Grid, 0, 0);
    grid->addWidget(VScrollBar, 0, 1);
    grid->addWidget(HScrollBar, 1, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpinEdit1);
    buttons->addStretch(1);
    buttons->addWidget(UpBitBtn);
    buttons->addWidget(DownBitBtn);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(grid, 1);
    top->addLayout(buttons);
    resize(780, 540);

    connect(VScrollBar, &QScrollBar::valueChanged, this, &Tfcdat::VScrollBarChange);
    connect(HScrollBar, &QScrollBar::valueChanged, this, &Tfcdat::HScrollBarChange);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &Tfcdat::SpinEdit1Change);
    connect(UpBitBtn, &QPushButton::clicked, this, &Tfcdat::UpBitBtnClick);
    connect(DownBitBtn, &QPushButton::clicked, this, &Tfcdat::DownBitBtnClick);
    connect(Grid, &CompareGrid::wheelRows, this, [this](int rows) { VScrollBar->setValue(VScrollBar->value() + rows); });

    m_engine.OnProgress = [this](FileCompare*) { progress(); };
}

bool Tfcdat::Compare(const QString& file1, const QString& file2)
{
    Grid->setSource(nullptr);
    SetBtnState();   // nothing to navigate while the comparison runs
    m_cancel = false;
    m_running = true;
    bool done = false;
    QString failure;
    {
        ui::WaitCursor busy;
        setWindowModality(Qt::ApplicationModal);
        show();
        QCoreApplication::processEvents();   // paint the window; an Esc already queued takes effect here
        m_gate.restart();
        try {
            done = !m_cancel && m_engine.Execute(file1, file2);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    m_running = false;
    if (!failure.isEmpty())
        ui::Dialogs::get().error(this, failure);
    if (!done)
        return false;
    Grid->setSource(&m_engine);
    VScrollBar->setRange(1, std::max(1, m_engine.RowCount() - 2));
    VScrollBar->setValue(1);
    VScrollBarChange();
    return true;
}

void Tfcdat::progress()
{
    m_gate.tick();
    if (m_cancel)
        m_engine.Abort();
}

void Tfcdat::reject()
{
    if (m_running) {
        m_cancel = true;   // Esc cancels the comparison; the window stays until it has stopped
        return;
    }
    QDialog::reject();
}

void Tfcdat::keyPressEvent(QKeyEvent* event)
{
    if (m_running && event->key() == Qt::Key_Escape) {
        m_cancel = true;
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfcdat::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        m_cancel = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Tfcdat::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void Tfcdat::FormResize()
{
    VScrollBar->setPageStep(std::max(1, Grid->VisibleRowCount()));
    SetBtnState();
}

int Tfcdat::middleRow() const
{
    return Grid->TopRow() + Grid->VisibleRowCount() / 2;
}

void Tfcdat::scrollToDifference(int row)
{
    VScrollBar->setValue(std::max(1, row - Grid->VisibleRowCount() / 2));
}

void Tfcdat::DownBitBtnClick()
{
    const int row = m_engine.NextDifference(middleRow());
    if (row > 0)
        scrollToDifference(row);
}

void Tfcdat::UpBitBtnClick()
{
    const int row = m_engine.PreviousDifference(middleRow());
    if (row > 0)
        scrollToDifference(row);
}

void Tfcdat::VScrollBarChange()
{
    Grid->setTopRow(VScrollBar->value());
    SetBtnState();
}

void Tfcdat::HScrollBarChange()
{
    Grid->setHOffset(HScrollBar->value());
}

void Tfcdat::SpinEdit1Change()
{
    HScrollBar->setMaximum(SpinEdit1->value());
}

void Tfcdat::SetBtnState()
{
    if (!Grid->source()) {
        DownBitBtn->setEnabled(false);
        UpBitBtn->setEnabled(false);
        return;
    }
    const int middle = middleRow();
    DownBitBtn->setEnabled(m_engine.NextDifference(middle) > 0);
    UpBitBtn->setEnabled(Grid->TopRow() >= 2 && m_engine.PreviousDifference(middle) > 0);
}
