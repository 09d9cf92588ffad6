#pragma once
// The about windows: the program's (name, version from the build, link labels) and the one listing the
// libraries the program ships with and their licences.
#include <QDialog>

class QLabel;

namespace app {

// The version the build gave the program ("0.1").
QString programVersion();

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* ReadmeLink = nullptr;     // opens the bundled README
    QLabel* CreditsLink = nullptr;    // opens the credits window

    // Shows the window modally over `parent` without a nested event loop; it deletes itself when closed.
    static TAboutBox* showModal(QWidget* parent);

private:
    void linkActivated(const QString& link);
};

class TCreditsBox : public QDialog {
    Q_OBJECT
public:
    explicit TCreditsBox(QWidget* parent = nullptr);

    QLabel* Libraries = nullptr;      // one paragraph per library, with links to its home and licence
};

// Opens a link of the about windows through the launcher (web addresses and local files alike).
void openAboutLink(const QString& link);

} // namespace app
