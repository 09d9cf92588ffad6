#pragma once
#include <QColor>
#include <QtGlobal>

// Stored colour values: 0x00BBGGRR for a plain colour, 0xFF000000 | index for a system colour.
namespace app {

inline constexpr qint32 kSystemColorFlag = qint32(0xFF000000);

// System colours map onto palette roles (5 window -> Base, 8 window text -> Text, 13 highlight -> Highlight,
// 15 button face -> Button); any other system colour gives `fallback`.
QColor toQColor(qint32 value, const QColor& fallback);
qint32 fromQColor(const QColor& color);

} // namespace app
