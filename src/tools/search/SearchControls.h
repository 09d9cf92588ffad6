#pragma once
#include <QProgressBar>
#include <QSpinBox>

namespace search {

// A spin edit that lets any text be typed (its owner's key-up handler decides what the text means) and
// reports each key release.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
Q_SIGNALS:
    void keyUp();
protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void keyReleaseEvent(QKeyEvent* e) override;
};

// The busy animation shown while a search runs.
class BusyAnimation : public QProgressBar {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent = nullptr);
    bool Active() const { return m_active; }
    void setActive(bool on);
private:
    bool m_active = false;
};

} // namespace search
