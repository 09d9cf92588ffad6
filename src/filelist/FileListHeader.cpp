#include "filelist/FileListHeader.h"
#include <QPainter>

FileListHeader::FileListHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent),
      m_upPixmap(QStringLiteral(":/filelist/Bmp_Up28.png")),
      m_downPixmap(QStringLiteral(":/filelist/Bmp_Down28.png"))
{
    setSectionsClickable(true);
    setSortIndicatorShown(false);
    setHighlightSections(false);
}

void FileListHeader::setArrow(int section, bool up)
{
    if (section == m_section && up == m_up)
        return;
    m_section = section;
    m_up = up;
    viewport()->update();
}

void FileListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (logicalIndex != m_section || rect.width() < 16)
        return;
    const QPixmap& arrow = m_up ? m_upPixmap : m_downPixmap;
    const QPoint at(rect.right() - arrow.width() - 6, rect.center().y() - arrow.height() / 2);
    painter->drawPixmap(at, arrow);
}
