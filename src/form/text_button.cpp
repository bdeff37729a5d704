#include "text_button.h"

#include <QPushButton>

QPushButton *createTextButton(QWidget *parent, const QString &name, const QString &caption,
                              QRect place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}
