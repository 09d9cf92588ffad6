#pragma once
#include <QWidget>

class QToolButton;

// A pair of small up/down arrow buttons beside a number field; the field's owner does the counting.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

Q_SIGNALS:
    void UpClick();
    void DownClick();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
