#include "editor/qt/TestPlayItems.h"

#include "assets/Pictures.h"
#include "play/GameState.h"
#include "screens/MessageTables.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace poronpa {

TestPlayItems::TestPlayItems(QWidget* parent) : QDialog(parent)
{
    setObjectName("testPlayItems");
    setWindowTitle(QCoreApplication::translate("MapDesign", "テストプレイ"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QCoreApplication::translate("MapDesign", "持って始めるアイテム:"), this));
    auto* grid = new QGridLayout;
    for (int item = 0; item < ItemCount; ++item) {
        auto* box = new QCheckBox(QCoreApplication::translate("Items", texts::ItemName[static_cast<std::size_t>(item)].c_str()), this);
        box->setObjectName(QString("item%1").arg(item));
        box->setIcon(QIcon(QPixmap::fromImage(pictures::itemIcon(item))));
        box->setIconSize(QSize(32, 32));
        grid->addWidget(box, item % 5, item / 5);
        boxes_[static_cast<std::size_t>(item)] = box;
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("MapDesign", "開始"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<int> TestPlayItems::ticked() const
{
    std::vector<int> items;
    for (int item = 0; item < ItemCount; ++item)
        if (boxes_[static_cast<std::size_t>(item)]->isChecked())
            items.push_back(item);
    return items;
}

} // namespace poronpa
