#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/FileOpTypes.h"

namespace fileops {

int platformOp(int listOperation)
{
    switch (listOperation) {
    case 0: return FO_COPY;
    case 1: return FO_DELETE;
    case 2: return FO_MOVE;
    case 3: return FO_RENAME;
    default: return 0;
    }
}

void SilentPrompter::error(const QString& text, const QString&)
{
    texts << QStringLiteral("error: ") + text;
}

void SilentPrompter::warning(const QString& text, const QString&)
{
    texts << QStringLiteral("warning: ") + text;
}

void SilentPrompter::message(const QString& text)
{
    texts << QStringLiteral("message: ") + text;
}

FileOpPrompter::Answer SilentPrompter::question(const QString& text, const QString&, int)
{
    texts << QStringLiteral("question: ") + text;
    return No;
}

} // namespace fileops
