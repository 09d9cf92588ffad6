#include "app/AboutWindow.h"
#include "app/ProgramCommands.h"
#include "app/Version.h"
#include "platform/Launcher.h"
#include "platform/Services.h"
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <zlib.h>

namespace app {

namespace {

constexpr char kCreditsLink[] = "orvo:credits";

QLabel* linkLabel(const QString& html, QWidget* parent)
{
    auto* l = new QLabel(html, parent);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::TextBrowserInteraction);
    l->setOpenExternalLinks(false);   // links go through the launcher
    l->setWordWrap(true);
    QObject::connect(l, &QLabel::linkActivated, parent, [](const QString& link) { openAboutLink(link); });
    return l;
}

QString anchor(const QString& href, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), text.toHtmlEscaped());
}

QDialogButtonBox* okButton(QDialog* d)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, d);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    return box;
}

} // namespace

QString programVersion()
{
    return QStringLiteral(ORVO_VERSION);
}

void openAboutLink(const QString& link)
{
    plat::ILauncher* launcher = plat::services().launcher;
    if (!launcher)
        return;
    const QUrl url(link);
    launcher->openUrl(url.scheme().isEmpty() ? QUrl::fromLocalFile(link) : url);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("关于"));
    auto* column = new QVBoxLayout(this);
    ProductName = new QLabel(QStringLiteral("Orvo 文件管理器"), this);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    ProductName->setFont(big);
    Version = new QLabel(QStringLiteral("版本 ") + programVersion(), this);
    Version->setObjectName(QStringLiteral("Version"));
    Copyright = new QLabel(QStringLiteral("双窗格文件管理器，附带文件查找、比较、分割合并、MD5 校验、压缩解压缩和进程管理工具。"),
                           this);
    Copyright->setWordWrap(true);
    const QString readme = readmePath();
    ReadmeLink = readme.isEmpty()
        ? new QLabel(QStringLiteral("使用说明 (README) 未随程序安装"), this)
        : linkLabel(anchor(QUrl::fromLocalFile(readme).toString(), QStringLiteral("使用说明 (README)")), this);
    ReadmeLink->setObjectName(QStringLiteral("ReadmeLink"));
    CreditsLink = new QLabel(anchor(QLatin1String(kCreditsLink), QStringLiteral("使用的程序库及其许可证")), this);
    CreditsLink->setObjectName(QStringLiteral("CreditsLink"));
    CreditsLink->setTextFormat(Qt::RichText);
    CreditsLink->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(CreditsLink, &QLabel::linkActivated, this, &TAboutBox::linkActivated);
    for (QWidget* w : {static_cast<QWidget*>(ProductName), static_cast<QWidget*>(Version),
                       static_cast<QWidget*>(Copyright), static_cast<QWidget*>(ReadmeLink),
                       static_cast<QWidget*>(CreditsLink)})
        column->addWidget(w);
    column->addWidget(okButton(this));
}

TAboutBox* TAboutBox::showModal(QWidget* parent)
{
    auto* box = new TAboutBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    return box;
}

void TAboutBox::linkActivated(const QString& link)
{
    if (link != QLatin1String(kCreditsLink))
        return;
    auto* credits = new TCreditsBox(this);
    credits->setAttribute(Qt::WA_DeleteOnClose);
    credits->setWindowModality(Qt::ApplicationModal);
    credits->show();
}

TCreditsBox::TCreditsBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CreditsBox"));
    setWindowTitle(QStringLiteral("使用的程序库"));
    struct Library {
        QString name;
        QString version;
        QString use;
        QString home;
        QString licence;
        QString licenceUrl;
    };
    const Library libraries[] = {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion()), QStringLiteral("窗口、界面和系统服务"),
         QStringLiteral("https://www.qt.io/"), QStringLiteral("GNU LGPL 3.0"),
         QStringLiteral("https://www.gnu.org/licenses/lgpl-3.0.html")},
        {QStringLiteral("zlib"), QString::fromLatin1(zlibVersion()), QStringLiteral("文件压缩和解压缩"),
         QStringLiteral("https://zlib.net/"), QStringLiteral("zlib 许可证"),
         QStringLiteral("https://zlib.net/zlib_license.html")},
        {QStringLiteral("libjpeg-turbo"), QString(), QStringLiteral("JPEG 图片的读取"),
         QStringLiteral("https://libjpeg-turbo.org/"), QStringLiteral("IJG 许可证、修改版 BSD 许可证和 zlib 许可证"),
         QStringLiteral("https://github.com/libjpeg-turbo/libjpeg-turbo/blob/main/LICENSE.md")},
    };
    QString html;
    for (const Library& l : libraries) {
        html += QStringLiteral("<p><b>%1</b>%2：%3<br>%4<br>许可证：%5</p>")
                    .arg(l.name.toHtmlEscaped(),
                         l.version.isEmpty() ? QString() : QStringLiteral(" ") + l.version.toHtmlEscaped(),
                         l.use.toHtmlEscaped(), anchor(l.home, l.home), anchor(l.licenceUrl, l.licence));
    }
    auto* column = new QVBoxLayout(this);
    Libraries = linkLabel(html, this);
    Libraries->setObjectName(QStringLiteral("Libraries"));
    column->addWidget(Libraries);
    column->addWidget(okButton(this));
}

} // namespace app
