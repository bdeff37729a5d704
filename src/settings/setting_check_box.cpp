#include "setting_check_box.h"

int SettingCheckBox::state() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void SettingCheckBox::setState(int state)
{
    setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void SettingCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
