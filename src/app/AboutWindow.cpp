#include "app/AboutWindow.h"

#include "app/Desktop.h"
#include "app/Glyphs.h"
#include "app/ProductInfo.h"

#include <QLabel>
#include <QPushButton>

namespace talwyn::app {
namespace {

QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QLabel* addLink(QWidget* parent, Desktop& desktop, const QString& text, const QUrl& target,
                QRect geometry) {
    auto* link = addLabel(
        parent,
        QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toString(), text.toHtmlEscaped()),
        geometry);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(false);
    QObject::connect(link, &QLabel::linkActivated, parent,
                     [&desktop](const QString& address) { desktop.openUrl(QUrl(address)); });
    return link;
}

}  // namespace

AboutWindow::AboutWindow(Desktop& desktop, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("关于软件"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(332, 259);

    auto* logo = addLabel(this, {}, QRect(24, 24, 64, 64));
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setPixmap(Glyphs::applicationIcon().pixmap(64, 64));

    auto* name = addLabel(this, kProductName, QRect(100, 30, 220, 24));
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    name->setFont(bold);
    addLabel(this, kVersionText, QRect(100, 60, 200, 20));

    addLabel(this, QStringLiteral("官方网站："), QRect(24, 116, 90, 20));
    addLink(this, desktop, kWebSite, QUrl(kWebSite), QRect(114, 116, 210, 20));
    addLabel(this, QStringLiteral("支持E-Mail："), QRect(24, 146, 90, 20));
    addLink(this, desktop, kSupportMail, QUrl(QStringLiteral("mailto:") + kSupportMail),
            QRect(114, 146, 210, 20));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setGeometry(126, 208, 80, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace talwyn::app
