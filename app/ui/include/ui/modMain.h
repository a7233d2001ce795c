// Start-up and the routines that every window shares.
#pragma once

#include "store/StoreFolders.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <string>

struct OperationCount;
class QFileDialog;
class ItemListView;
class frmMain;

inline constexpr std::chrono::milliseconds kSplashTime{1000};

// Shows the splash for splashTime, measured on a monotonic clock while the window system's
// events go on being processed, then returns the main window set up and shown, its store in
// storeFolders.
std::unique_ptr<frmMain> StartUp(const StoreFolders &storeFolders,
                                 std::chrono::milliseconds splashTime = kSplashTime);

// Lets the window system work for the given time; a monotonic clock decides when it is over.
void WaitProcessingEvents(std::chrono::milliseconds time);

// Shows the file-open dialog with a filter in the form "description|patterns|..." and a
// title; returns the chosen file's full path, or empty text when the user cancels.
QString BrowseForFile(QFileDialog &dlgCD, const QString &filter, const QString &title);

// Shows the file-save dialog with its name filters ("CSV Files (*.csv)") and a title; a name
// typed without a suffix takes suffix. Returns the chosen file's full path, or empty text when
// the user cancels.
QString SaveFileName(QFileDialog &dialog, const QStringList &filters, const QString &title,
                     const QString &suffix);

// Writes contents to the file, replacing it whole or not at all; false, after saying why it
// could not save what ("the errors") there.
bool SaveFile(const QString &path, const QByteArray &contents, const std::string &what);

// True when every selected entry has the small icon of the list's selected entry; otherwise
// says "Mixed types in selection not allowed" and returns false.
bool SameTypeSelected(const ItemListView &list);

// The one report at the end of an operation over many accounts: the error list with how many
// accounts succeeded, failed and were not done; for a cancelled operation without errors, what
// was done. Nothing when every account succeeded.
void ShowOperationReport(const OperationCount &count);
