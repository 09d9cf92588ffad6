#include "ui/QtTranslation.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

QString installQtTranslation(QCoreApplication& app, const QLocale& locale)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QList<QLocale> candidates;
    if (locale.language() != QLocale::C)
        candidates << locale;
    candidates << QLocale(QLocale::Chinese, QLocale::China);
    for (const QLocale& l : candidates) {
        auto* translator = new QTranslator(&app);
        if (translator->load(l, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator))
            return l.name();
        delete translator;
    }
    return {};
}

} // namespace ui
