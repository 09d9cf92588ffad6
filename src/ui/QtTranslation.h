#pragma once
// Qt's own translation of its standard texts (dialog buttons, file dialogs), so they read in the user's language.
#include <QLocale>

class QCoreApplication;

namespace ui {

// Installs the qtbase translation of `locale`, or of zh_CN when there is none for it (the program's own
// texts are Chinese). Returns the name of the locale installed, or "" when no translation was found.
QString installQtTranslation(QCoreApplication& app, const QLocale& locale);

} // namespace ui
