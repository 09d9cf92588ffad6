#pragma once
// The attribute run: the attribute window shown for each path in turn; OK applies it to that item,
// "全部都" to that and every later item, "全部不" ends the run, cancel leaves the item alone.
#include <QStringList>

class QWidget;

namespace properties {

class AttributeRun {
public:
    explicit AttributeRun(QWidget* owner) : m_owner(owner) {}
    // Runs over `paths` (full paths, in order); true when anything was changed. Errors are shown in boxes.
    bool execute(const QStringList& paths);

private:
    QWidget* m_owner;
};

} // namespace properties
