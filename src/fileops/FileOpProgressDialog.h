#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include <QPointer>
#include <QProgressDialog>

namespace fileops {

// The progress window of a file operation: window-modal on its owner, with a Cancel button "取消".
class FileOpProgressDialog : public FileOpProgressView {
public:
    FileOpProgressDialog(QWidget* owner, int op);
    ~FileOpProgressDialog() override;
    void update(const ProgressSnapshot& s) override;
    bool cancelRequested() const override;
    bool isVisible() const override;
    QProgressDialog* dialog() const { return m_dialog; }

    // "正在复制", "正在移动", "正在删除", "正在重命名".
    static QString titleFor(int op);
    static QString labelFor(const ProgressSnapshot& s);

private:
    QPointer<QProgressDialog> m_dialog;
};

} // namespace fileops
