// The preview of a user import: each row of the file with what will be done or why it is
// refused, and how many accounts OK will create. Nothing has changed while it shows.
#pragma once

#include <QDialog>
#include <QString>

struct ImportPlan;

class frmImport : public QDialog {
    Q_OBJECT

public:
    // fileName names the file in the summary; OK is offered only when some row can be created.
    frmImport(const ImportPlan &plan, const QString &fileName, QWidget *owner = nullptr);
};
