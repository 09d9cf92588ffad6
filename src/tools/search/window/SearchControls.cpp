#include "tools/search/window/SearchControls.h"
#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>

QValidator::State TSpinEdit::validate(QString& input, int& pos) const
{
    const QValidator::State s = QSpinBox::validate(input, pos);
    return s == QValidator::Acceptable ? s : QValidator::Intermediate;
}

void TSpinEdit::keyReleaseEvent(QKeyEvent* e)
{
    QSpinBox::keyReleaseEvent(e);
    Q_EMIT keyUp();
}

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        grid->addWidget(b, i / columns, i % columns);
    }
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* b = m_group->button(index))
        b->setChecked(true);
}

TAnimate::TAnimate(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    setActive(false);
}

void TAnimate::setActive(bool on)
{
    m_active = on;
    setRange(0, on ? 0 : 1);   // an empty range animates
    setValue(0);
}
