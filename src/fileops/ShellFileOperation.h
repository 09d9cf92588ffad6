#pragma once
#include <QStringList>

class QWidget;

namespace fileops {

// ShellFileOperation with an owner window: questions and errors as boxes on `owner`, a progress window
// after 500 ms. Without an owner nothing is shown: questions answer No, errors stay silent.
bool ShellFileOperation(QWidget* owner, int op, bool option, const QStringList& sources,
                        const QStringList& targets = {});

} // namespace fileops
