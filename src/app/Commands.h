#pragma once
// How the main window and its parts make commands: a menu command or a button click runs a handler guarded,
// so an error it raises is shown in an error box over the main window instead of crossing the event loop.
#include "ui/Dialogs.h"
#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QToolButton>
#include <exception>

namespace app {

template <class F>
void guarded(QWidget* window, F&& run)
{
    try {
        run();
    } catch (const std::exception& e) {
        ui::Dialogs::get().error(window, QString::fromUtf8(e.what()));
    }
}

// A command of `window` with its documented name; triggering it runs `handler` on `part`.
template <class Part>
QAction* newCommand(QWidget* window, Part* part, const char* name, const QString& caption, void (Part::*handler)(),
                    bool checkable = false)
{
    auto* a = new QAction(caption, window);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkable);
    QObject::connect(a, &QAction::triggered, part, [window, part, handler] { guarded(window, [&] { (part->*handler)(); }); });
    return a;
}

// A command without work of its own yet: it exists so the menus show it (see markNotAvailable).
inline QAction* newStateCommand(QWidget* window, const char* name, const QString& caption)
{
    auto* a = new QAction(caption, window);
    a->setObjectName(QLatin1String(name));
    return a;
}

// The note a command without its work carries, in its tooltip and in messages.
inline QString notAvailableText()
{
    return QStringLiteral("尚未提供");
}

// Marks a command or button whose work is not part of the program yet: disabled for good (the selection
// rules leave it alone), its hint followed by the note.
inline void markNotAvailable(QObject* control)
{
    const auto hinted = [](const QString& hint) {
        return hint.isEmpty() ? notAvailableText() : hint + QStringLiteral("（") + notAvailableText() + QStringLiteral("）");
    };
    control->setProperty("notAvailable", true);
    if (auto* a = qobject_cast<QAction*>(control)) {
        a->setEnabled(false);
        // The caption without its access key ("属性&A" gives "属性").
        static const QRegularExpression accessKey(QStringLiteral("\\(?&[A-Za-z0-9]\\)?"));
        const QString hint = hinted(QString(a->text()).remove(accessKey).trimmed());
        a->setToolTip(hint);
        a->setStatusTip(hint);
    } else if (auto* w = qobject_cast<QWidget*>(control)) {
        w->setEnabled(false);
        w->setToolTip(hinted(w->toolTip()));
    }
}

inline bool isNotAvailable(const QObject* control)
{
    return control->property("notAvailable").toBool();
}

// A click on `button` runs `handler` on `part`.
template <class Part>
void onClicked(QWidget* window, QToolButton* button, Part* part, void (Part::*handler)())
{
    QObject::connect(button, &QToolButton::clicked, part,
                     [window, part, handler] { guarded(window, [&] { (part->*handler)(); }); });
}

// A right click (a context-menu request) on `widget` runs `handler` on `part`.
template <class Part>
void onRightClicked(QWidget* window, QWidget* widget, Part* part, void (Part::*handler)())
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, part,
                     [window, part, handler] { guarded(window, [&] { (part->*handler)(); }); });
}

// A right click on `button` pops up `menu` under the pointer.
inline void onRightClickMenu(QToolButton* button, QMenu* menu)
{
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(button, &QWidget::customContextMenuRequested, menu,
                     [button, menu](const QPoint& pos) { menu->popup(button->mapToGlobal(pos)); });
}

} // namespace app
