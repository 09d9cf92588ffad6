#include "tools/search/SearchControls.h"
#include <QKeyEvent>

namespace search {

QValidator::State SpinEdit::validate(QString& input, int& pos) const
{
    const QValidator::State s = QSpinBox::validate(input, pos);
    return s == QValidator::Acceptable ? s : QValidator::Intermediate;
}

void SpinEdit::keyReleaseEvent(QKeyEvent* e)
{
    QSpinBox::keyReleaseEvent(e);
    Q_EMIT keyUp();
}

BusyAnimation::BusyAnimation(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    // Shown only while a search runs; its place is kept so the buttons above do not move.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    setActive(false);
}

void BusyAnimation::setActive(bool on)
{
    m_active = on;
    setRange(0, on ? 0 : 1);   // an empty range animates
    setValue(0);
    setVisible(on);
}

} // namespace search
