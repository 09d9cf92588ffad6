#include "foldertree/Shellnode.h"
#include "foldertree/ShellTree.h"

TShellnode::TShellnode(TShellTree* tree, plat::ShellEntry entry) : QTreeWidgetItem(UserType), m_tree(tree), m_entry(std::move(entry))
{
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
}

TShellnode::~TShellnode()
{
    if (m_tree)
        m_tree->nodeGone(this);
}

bool TShellnode::operator<(const QTreeWidgetItem& other) const
{
    return m_tree->compareNodes(*this, static_cast<const TShellnode&>(other)) < 0;
}

void TShellnode::setData(int column, int role, const QVariant& value)
{
    if (role == Qt::EditRole && column == 0 && m_tree) {
        m_tree->RenameNode(this, value.toString());
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}
