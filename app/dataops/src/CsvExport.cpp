#include "dataops/CsvExport.h"

#include "csv/Csv.h"

#include <QAbstractItemModel>

#include <functional>
#include <vector>

namespace {

// One record of as many fields as the model has columns, each the text shown for its column.
std::string Record(int columns, const std::function<QVariant(int column)> &shown) {
    std::vector<std::string> fields;
    for (int column = 0; column < columns; ++column) {
        fields.push_back(shown(column).toString().toStdString());
    }
    return CsvRecordText(fields);
}

}  // namespace

std::string ModelCsv(const QAbstractItemModel &model) {
    const int columns = model.columnCount();
    std::string text = Record(columns, [&](int column) {
        return model.headerData(column, Qt::Horizontal, Qt::DisplayRole);
    });
    for (int row = 0; row < model.rowCount(); ++row) {
        text += Record(columns, [&](int column) {
            return model.data(model.index(row, column), Qt::DisplayRole);
        });
    }
    return text;
}

std::string ErrorReportCsv(const ErrorReport &report) {
    std::string text = CsvRecordText(std::vector<std::string>{"Number", "Description"});
    for (const ErrorEntry &entry : report.entries) {
        text += CsvRecordText(
            std::vector<std::string>{std::to_string(entry.number), PlainLines(entry.description)});
    }
    return text;
}
