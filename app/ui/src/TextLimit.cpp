#include "ui/TextLimit.h"

#include "vantry_api/modVantryDeclare.h"

#include <QLineEdit>
#include <QValidator>

namespace {

using modVantryDeclare::kLibraryTextBytes;

class Utf8ByteLimit : public QValidator {
public:
    explicit Utf8ByteLimit(QObject *owner) : QValidator(owner) {}

    State validate(QString &text, int &) const override {
        return text.toUtf8().size() <= kLibraryTextBytes ? Acceptable : Invalid;
    }
};

}  // namespace

void LimitToLibraryText(QLineEdit &field) {
    // Characters never take fewer bytes than one: the byte limit is the tighter of the two.
    field.setMaxLength(kLibraryTextBytes);
    if (dynamic_cast<const Utf8ByteLimit *>(field.validator()) == nullptr) {
        field.setValidator(new Utf8ByteLimit(&field));
    }
}
