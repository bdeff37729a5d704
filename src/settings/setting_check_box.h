#ifndef REELHOP_SETTINGS_SETTING_CHECK_BOX_H
#define REELHOP_SETTINGS_SETTING_CHECK_BOX_H

#include <QCheckBox>

// A check box holding 0 (unchecked), 1 (checked) or 2 (greyed). Greyed comes only from the
// settings file: a click goes from greyed to checked and otherwise toggles as usual.
class SettingCheckBox final : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    int state() const;
    void setState(int state);

protected:
    void nextCheckState() override;
};

#endif
