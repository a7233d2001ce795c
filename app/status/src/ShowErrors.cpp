#include "status/ShowErrors.h"

#include "status/MsgBox.h"

int32_t ShowErrors(const clsErr &errors, const std::string &caption, bool plain) {
    std::string message = caption;
    if (!plain) {
        if (!caption.empty()) {
            message += ":\n\r";
        }
        message += errors.ErrList();
    }
    MsgBox(message, MsgButtons::OKOnly, MsgIcon::Exclamation, "Error");
    return errors.Number();
}
