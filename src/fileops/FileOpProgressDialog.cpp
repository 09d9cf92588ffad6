#include "fileops/FileOpProgressDialog.h"
#include "fileops/engine/FileOpTypes.h"
#include <QLocale>
#include <QProgressDialog>

namespace fileops {

FileOpProgressDialog::FileOpProgressDialog(QWidget* owner, int op)
    : m_dialog(new QProgressDialog(owner))
{
    m_dialog->setWindowTitle(titleFor(op));
    m_dialog->setCancelButtonText(QStringLiteral("取消"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(420);
    m_dialog->setRange(0, 0);
    m_dialog->show();
}

FileOpProgressDialog::~FileOpProgressDialog()
{
    delete m_dialog.data();
}

QString FileOpProgressDialog::titleFor(int op)
{
    switch (op) {
    case FO_MOVE: return QStringLiteral("正在移动");
    case FO_DELETE: return QStringLiteral("正在删除");
    case FO_RENAME: return QStringLiteral("正在重命名");
    default: return QStringLiteral("正在复制");
    }
}

QString FileOpProgressDialog::labelFor(const ProgressSnapshot& s)
{
    QString text = titleFor(s.op) + QStringLiteral("“") + s.current + QStringLiteral("”\n");
    text += QStringLiteral("已完成 %1 / %2 项").arg(s.itemsDone).arg(s.itemsTotal);
    if (s.bytesDone > 0)
        text += QStringLiteral("，") + QLocale().formattedDataSize(s.bytesDone, 1, QLocale::DataSizeTraditionalFormat);
    return text;
}

void FileOpProgressDialog::update(const ProgressSnapshot& s)
{
    if (!m_dialog)
        return;
    if (s.itemsTotal > 1) {
        m_dialog->setRange(0, int(qMin<qint64>(s.itemsTotal, INT_MAX)));
        m_dialog->setValue(int(qMin<qint64>(s.itemsDone, INT_MAX)));
    }
    m_dialog->setLabelText(labelFor(s));
}

bool FileOpProgressDialog::cancelRequested() const
{
    return !m_dialog || m_dialog->wasCanceled();
}

bool FileOpProgressDialog::isVisible() const
{
    return m_dialog && m_dialog->isVisible();
}

} // namespace fileops
