#include "status/ShowErrors.h"

#include "status/MsgBox.h"

int32_t ShowErrors(const clsErr &errors, const std::string &caption, bool plain) {
    if (plain) {
        MsgBox(caption, MsgButtons::OKOnly, MsgIcon::Exclamation, "Error");
    } else {
        ShowErrorReport(ReportOf(errors, caption));
    }
    return errors.Number();
}

ErrorReport ReportOf(const clsErr &errors, const std::string &caption, const std::string &summary) {
    return {caption, errors.ErrList(), errors.Entries(), summary};
}
