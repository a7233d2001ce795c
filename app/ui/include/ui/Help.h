// The program's help: an HTML document in the program's data folder, opened in the desktop's
// browser at its contents, its index or the section of a dialog.
#pragma once

#include <QString>
#include <QUrl>

// The help document: the program's data folder followed by "/Tarnwick.html".
QString HelpFile();

// Where a help command opens the document; a dialog's context number opens its section.
enum class HelpCommand { Contents, Index };
QUrl HelpAddress(HelpCommand command);
QUrl HelpAddress(int context);

// Opens the address in the desktop's browser. A missing document, or a browser that cannot
// be started, is reported in a message box; ownerCaption titles the missing-document one.
void ShowHelp(const QUrl &address, const QString &ownerCaption);
