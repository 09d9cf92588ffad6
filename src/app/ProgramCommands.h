#pragma once
// The main window's commands that hand work to other programs: the web browser companion (LumoW1, LumoW2),
// the settings file in the user's editor (R8), the bundled README (B7), the about window (A9) and the
// path-bar folder in the desktop's file manager (E4).
#include <QObject>
#include <QString>

class TOrvo;

namespace app {

// The bundled README: beside the program, else where the install puts it; empty when neither exists.
// `programFolder` empty means the running program's folder.
QString readmePath(const QString& programFolder = QString());

class ProgramCommands : public QObject {
    Q_OBJECT
public:
    explicit ProgramCommands(TOrvo& window);

    // Creates LumoW1, LumoW2, R8, B7, A9 and E4.
    void createCommands();

    void LumoW1Click();     // the companion web browser, or a message that it is missing
    void R8Click();         // the settings file in the user's editor
    void B7Click();         // the bundled README, in the companion browser when there is one
    void A9Click();         // the about window

private:
    TOrvo& m_w;
};

} // namespace app
