#include "app/SkinSelectDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace talwyn::app {

SkinSelectDialog::SkinSelectDialog(const QStringList& names, int current, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select skin"));
    list_ = new QListWidget(this);
    list_->addItems(names);
    if (current >= 0 && current < names.size()) {
        list_->setCurrentRow(current);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(260, 320);
}

int SkinSelectDialog::chosen() const {
    return list_->currentRow();
}

}  // namespace talwyn::app
