#pragma once
#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio items in columns with an item index (-1: none chosen).
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1, QWidget* parent = nullptr);
    int ItemIndex() const;
    void setItemIndex(int index);   // no clicked signal
    int count() const { return int(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.value(index); }
    QStringList items() const;

Q_SIGNALS:
    void clicked(int index);        // the user chose an item

private:
    QButtonGroup* m_group;
    QList<QRadioButton*> m_buttons;
};
