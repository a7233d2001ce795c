// A check box of the properties panel that can say the selected accounts differ: partly
// checked, which the program alone shows. A click never brings that state back: the first click
// on a partly checked box checks it, later clicks toggle it. A box that can only be cleared
// (an account's lockout) goes between unchecked and the state it was cleared from instead.
#pragma once

#include <QCheckBox>

class MixedCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    void SetClearOnly(bool clearOnly) { clearOnly_ = clearOnly; }

protected:
    void nextCheckState() override;

private:
    bool clearOnly_ = false;
    Qt::CheckState beforeClearing_ = Qt::Checked;
};
