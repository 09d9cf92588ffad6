#pragma once
#include <QHeaderView>
#include <QPixmap>

// Header of the details view: draws the sort arrow ("Bmp_Up28" or "Bmp_Down28") right of the sort
// column's caption; all other columns show none.
class FileListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit FileListHeader(QWidget* parent = nullptr);
    void setArrow(int section, bool up);   // section -1: no arrow
    int arrowSection() const { return m_section; }
    bool arrowUp() const { return m_up; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QPixmap m_upPixmap, m_downPixmap;
    int m_section = -1;
    bool m_up = true;
};
