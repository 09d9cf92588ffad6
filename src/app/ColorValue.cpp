#include "app/ColorValue.h"
#include <QGuiApplication>
#include <QPalette>

namespace app {

QColor toQColor(qint32 value, const QColor& fallback)
{
    const quint32 v = quint32(value);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (v & 0x00FFFFFFu) {
        case 5: return pal.color(QPalette::Base);
        case 8: return pal.color(QPalette::Text);
        case 13: return pal.color(QPalette::Highlight);
        case 15: return pal.color(QPalette::Button);
        default: return fallback;
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 fromQColor(const QColor& color)
{
    const QColor c = color.toRgb();
    return qint32(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16));
}

} // namespace app
