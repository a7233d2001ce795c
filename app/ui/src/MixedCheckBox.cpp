#include "ui/MixedCheckBox.h"

void MixedCheckBox::nextCheckState() {
    const Qt::CheckState state = checkState();
    if (!clearOnly_) {
        setCheckState(state == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    } else if (state != Qt::Unchecked) {
        beforeClearing_ = state;
        setCheckState(Qt::Unchecked);
    } else {
        setCheckState(beforeClearing_);
    }
}
