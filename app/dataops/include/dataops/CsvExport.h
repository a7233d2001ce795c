// The program's CSV exports: a list as its view shows it, and the error report.
#pragma once

#include "status/ErrorReport.h"

#include <string>

class QAbstractItemModel;

// The header's captions, then each row's shown text column by column, for every row and column
// the model gives: hand it the model a view shows (after its filter and sort) to export what
// the administrator sees.
std::string ModelCsv(const QAbstractItemModel &model);

// One record per entry, its number and description, under the header "Number", "Description".
std::string ErrorReportCsv(const ErrorReport &report);
