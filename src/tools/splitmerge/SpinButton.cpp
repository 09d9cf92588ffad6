#include "tools/splitmerge/SpinButton.h"
#include <QToolButton>
#include <QVBoxLayout>

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        box->addWidget(b);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, &SpinButton::UpClick);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::DownClick);
}
