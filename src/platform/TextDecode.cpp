#include "platform/TextDecode.h"
#include <QStringDecoder>

namespace plat {

QString decodeText(const QByteArray& bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder dec(*bom);   // strips the BOM
        return dec.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030");
    if (gb.isValid())
        return gb.decode(bytes);
    return text;
}

} // namespace plat
