#include "ui/Help.h"

#include "status/MsgBox.h"
#include "ui/AppInfo.h"
#include "ui/ProgramFiles.h"

#include <QDesktopServices>
#include <QFileInfo>

#include <map>

namespace {

// The sections that dialogs open through their Help buttons, by context number.
const std::map<int, QString> &contextSections() {
    static const std::map<int, QString> sections{{700, QStringLiteral("relationships")}};
    return sections;
}

QUrl helpAt(const QString &section) {
    QUrl address = QUrl::fromLocalFile(HelpFile());
    if (!section.isEmpty()) address.setFragment(section);
    return address;
}

}  // namespace

QString HelpFile() {
    return QString::fromStdString((ProgramDataFolder() / "Tarnwick.html").string());
}

QUrl HelpAddress(HelpCommand command) {
    return helpAt(command == HelpCommand::Index ? QStringLiteral("index") : QString());
}

QUrl HelpAddress(int context) {
    const auto section = contextSections().find(context);
    return helpAt(section == contextSections().end() ? QString() : section->second);
}

void ShowHelp(const QUrl &address, const QString &ownerCaption) {
    if (!QFileInfo::exists(address.toLocalFile())) {
        MsgBox("Unable to display Help Contents. There is no Help associated with this project.",
               MsgButtons::OKOnly, MsgIcon::Information, ownerCaption.toStdString());
        return;
    }
    if (!QDesktopServices::openUrl(address)) {
        MsgBox("The desktop's browser could not be started to show " +
                   address.toLocalFile().toStdString(),
               MsgButtons::OKOnly, MsgIcon::None, kAppTitle);
    }
}
