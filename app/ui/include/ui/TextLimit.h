// The texts the account library takes hold at most 255 bytes of UTF-8 (its buffers of 256 less
// the terminator); a line edit's own limit counts characters, which for accented letters lets
// through texts the library would refuse.
#pragma once

class QLineEdit;

// Typing or pasting that would take the field's text past 255 bytes is refused.
void LimitToLibraryText(QLineEdit &field);
