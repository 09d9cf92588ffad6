#include "tools/hexview/HexViewWindow.h"
#include "tools/hexview/HexEditor.h"
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

const QString Thexf::kCaption = QStringLiteral("十六进制查看文件");

Thexf::Thexf(QWidget* owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("hexf"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(kCaption);
    resize(716, 507);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    HexEditor1 = new THexEditor(this);
    HexEditor1->setObjectName(QStringLiteral("HexEditor1"));
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    courier.setPixelSize(16);
    HexEditor1->setFont(courier);
    HexEditor1->viewport()->setCursor(Qt::IBeamCursor);
    HexEditor1->setBytesPerLine(16);
    HexEditor1->setBytesPerColumn(1);
    HexEditor1->setOffsetDisplay(odDec);
    HexEditor1->setOffsetSeparator(u':');
    HexEditor1->setTranslation(ttAnsi);
    HexEditor1->setCaretStyle(csLeftLine);
    HexEditor1->setFocusFrame(false);
    HexEditor1->BackupExtension = QStringLiteral(".bak");
    TColors colors;
    colors.Background = QApplication::palette().color(QPalette::Midlight);   // the 3-D light colour
    colors.PositionBackground = QColor(128, 0, 128);
    colors.PositionText = QColor(255, 251, 240);
    colors.ChangedBackground = QColor(128, 128, 0);
    colors.ChangedText = QColor(128, 0, 0);
    colors.CursorFrame = QColor(0, 0, 255);
    colors.Offset = QColor(0, 0, 0);
    colors.setOddColumn(QColor(0, 0, 128));
    colors.setEvenColumn(QColor(0, 128, 128));
    HexEditor1->setColors(colors);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HexEditor1);
    setFocusProxy(HexEditor1);
}

void Thexf::showFile(const QString& path)
{
    HexEditor1->LoadFromFile(path);
    setWindowTitle(path);
    setToolTip(path);
}
