#ifndef REELHOP_FORM_TEXT_BUTTON_H
#define REELHOP_FORM_TEXT_BUTTON_H

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

// A captioned button that never becomes a default button: Enter belongs to the boxes whose key
// handlers take it.
QPushButton *createTextButton(QWidget *parent, const QString &name, const QString &caption,
                              QRect place = {});

#endif
