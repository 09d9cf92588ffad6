#include "ui/Dialogs.h"
#include "ui/MessageBox.h"
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {
Dialogs* g_installed = nullptr;

QString orDefault(const QString& caption, const char* fallback)
{
    return caption.isEmpty() ? QString::fromUtf8(fallback) : caption;
}

// A dialog shown during long work (busy cursor) takes the normal pointer until it closes.
class NormalCursor {
public:
    NormalCursor() : m_pushed(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_pushed)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor()
    {
        if (m_pushed)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

private:
    bool m_pushed;
};

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    TitledMessageBox box(icon, caption, text, parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}
} // namespace

Dialogs& Dialogs::get()
{
    static QtDialogs qt;
    return g_installed ? *g_installed : qt;
}

void Dialogs::install(Dialogs* d)
{
    g_installed = d;
}

Dialogs* Dialogs::installed()
{
    return g_installed;
}

QString Dialogs::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList pats = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : pats)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        out << parts[i] + QStringLiteral(" (") + pats.join(u' ') + u')';
    }
    return out.join(QStringLiteral(";;"));
}

void QtDialogs::error(QWidget* parent, const QString& text, const QString& caption)
{
    NormalCursor normal;
    showBox(parent, QMessageBox::Critical, orDefault(caption, "错误"), text);
}

void QtDialogs::warning(QWidget* parent, const QString& text, const QString& caption)
{
    NormalCursor normal;
    showBox(parent, QMessageBox::Warning, orDefault(caption, "警告"), text);
}

void QtDialogs::info(QWidget* parent, const QString& text, const QString& caption)
{
    NormalCursor normal;
    showBox(parent, QMessageBox::Information, orDefault(caption, "信息"), text);
}

void QtDialogs::message(QWidget* parent, const QString& text)
{
    NormalCursor normal;
    showBox(parent, QMessageBox::NoIcon, QStringLiteral("Orvo 文件管理器"), text);
}

Dialogs::Answer QtDialogs::question(QWidget* parent, const QString& text, const QString& caption, int flags)
{
    NormalCursor normal;
    TitledMessageBox box(QMessageBox::Question, orDefault(caption, "提示"), text, parent);
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = nullptr;
    if (flags & EscCancels) {
        cancel = box.addButton(QMessageBox::Cancel);
        cancel->hide();
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(no);
    }
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return Yes;
    if (cancel && box.clickedButton() != no)
        return Cancel;
    return No;
}

QString QtDialogs::input(QWidget* parent, const QString& caption, const QString& prompt, const QString& def)
{
    NormalCursor normal;
    QInputDialog dlg(parent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(def);
    dlg.setOkButtonText(QStringLiteral("确定"));
    dlg.setCancelButtonText(QStringLiteral("取消"));
    return dlg.exec() == QDialog::Accepted ? dlg.textValue() : def;
}

QString QtDialogs::openFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter)
{
    NormalCursor normal;
    return QFileDialog::getOpenFileName(parent, title, dir, qtFilter(filter), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                            const QString& defaultSuffix, bool confirmOverwrite)
{
    NormalCursor normal;
    QFileDialog dlg(parent, title, dir, qtFilter(filter));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    if (!defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    NormalCursor normal;
    const QString d = QFileDialog::getExistingDirectory(parent, title, start,
                                                        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (d.isEmpty())
        return d;
    return d.endsWith(u'/') ? d : d + u'/';
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    NormalCursor normal;
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace ui
