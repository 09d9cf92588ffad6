#pragma once
#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace ui {

// Every message box, question, input box and file/folder/colour dialog goes through this service,
// so tests can answer them and read their exact texts.
class Dialogs {
public:
    enum Answer { Yes, No, Cancel };
    enum QuestionFlag { Plain = 0, EscCancels = 1 };

    virtual ~Dialogs() = default;

    // Captions default to "错误", "警告", "信息".
    virtual void error(QWidget* parent, const QString& text, const QString& caption = QString()) = 0;
    virtual void warning(QWidget* parent, const QString& text, const QString& caption = QString()) = 0;
    virtual void info(QWidget* parent, const QString& text, const QString& caption = QString()) = 0;
    // A plain box without icon, caption "Orvo 文件管理器".
    virtual void message(QWidget* parent, const QString& text) = 0;
    // Yes/No; Esc answers No, or Cancel with EscCancels.
    virtual Answer question(QWidget* parent, const QString& text, const QString& caption = QString(), int flags = Plain) = 0;
    // Returns `def` when cancelled.
    virtual QString input(QWidget* parent, const QString& caption, const QString& prompt, const QString& def) = 0;
    // Filters use the "desc|pat;pat|desc|pat" form. Empty result = cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                             const QString& defaultSuffix = QString(), bool confirmOverwrite = true) = 0;
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0; // result ends in '/'
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    virtual void beep() = 0;

    static Dialogs& get();
    static void install(Dialogs* d);   // nullptr restores the Qt service
    static Dialogs* installed();

    // "Text files|*.txt|All|*.*" -> "Text files (*.txt);;All (*)"
    static QString qtFilter(const QString& filter);
};

class QtDialogs : public Dialogs {
public:
    void error(QWidget* parent, const QString& text, const QString& caption) override;
    void warning(QWidget* parent, const QString& text, const QString& caption) override;
    void info(QWidget* parent, const QString& text, const QString& caption) override;
    void message(QWidget* parent, const QString& text) override;
    Answer question(QWidget* parent, const QString& text, const QString& caption, int flags) override;
    QString input(QWidget* parent, const QString& caption, const QString& prompt, const QString& def) override;
    QString openFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                     const QString& defaultSuffix, bool confirmOverwrite) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    void beep() override;
};

} // namespace ui
