#include "tools/search/window/SearchControls.h"
#include <QKeyEvent>

namespace search {

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

} // namespace search
