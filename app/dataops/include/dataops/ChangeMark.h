// The properties panel's change marks: every editable control carries the mark "1" once the
// administrator edited it since the last display, "0" otherwise. Only marked controls are
// applied, so a change made to many selected accounts leaves their other properties alone.
#pragma once

#include <QVariant>
#include <QWidget>

inline constexpr char kChangeMark[] = "tag";

inline void SetChangeMark(QWidget &control, bool changed) {
    control.setProperty(kChangeMark, changed ? QStringLiteral("1") : QStringLiteral("0"));
}

// A mark counts when it reads as the number 1; a control never marked counts as unchanged.
inline bool IsMarkedChanged(const QWidget &control) {
    bool isNumber = false;
    const int mark = control.property(kChangeMark).toString().trimmed().toInt(&isNumber);
    return isNumber && mark == 1;
}
