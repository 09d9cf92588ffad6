#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Helpers shared by the main-window tests: a clean account and raw access to the files the program writes.
namespace apptest {

// Removes the settings file, the autostart and context-menu entries and both list files.
void cleanAccount();
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
QString privateFile(const QString& name);
// The keys of the settings group, as a fresh read shows them.
QStringList storedKeys();

} // namespace apptest
