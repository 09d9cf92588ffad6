#pragma once
#include <QGroupBox>
#include <QProgressBar>
#include <QSpinBox>
#include <QStringList>

class QButtonGroup;

// A spin edit that lets any text be typed (its owner's key-up handler decides what the text means) and
// reports each key release.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
Q_SIGNALS:
    void keyUp();
protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void keyReleaseEvent(QKeyEvent* e) override;
};

// A titled group of radio buttons laid out in columns; ItemIndex is the checked one (-1 = none).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent = nullptr);
    int ItemIndex() const;
    void setItemIndex(int index);
private:
    QButtonGroup* m_group;
};

// The busy animation shown while a search runs.
class TAnimate : public QProgressBar {
    Q_OBJECT
public:
    explicit TAnimate(QWidget* parent = nullptr);
    bool Active() const { return m_active; }
    void setActive(bool on);
private:
    bool m_active = false;
};
