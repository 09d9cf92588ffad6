#pragma once
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

// Helpers shared by the main-window tests: a clean account and raw access to the files the program writes.
class QWidget;

namespace apptest {

// Removes the settings file, the autostart and context-menu entries and both list files.
void cleanAccount();
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
QString privateFile(const QString& name);
// The keys of the settings group, as a fresh read shows them.
QStringList storedKeys();
// A real right click at `pos` of `widget`, through the window so that the context-menu event follows.
void rightClick(QWidget* widget, QPoint pos);

} // namespace apptest
