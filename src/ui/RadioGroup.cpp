#include "ui/RadioGroup.h"
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(1);
    const int cols = qMax(1, columns);
    const int rows = int((items.size() + cols - 1) / cols);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        m_buttons.append(b);
        grid->addWidget(b, i % rows, i / rows);   // filled column by column
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QRadioButton* b = m_buttons.value(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

QStringList RadioGroup::items() const
{
    QStringList out;
    for (const QRadioButton* b : m_buttons)
        out << b->text();
    return out;
}
