#include "platform/AnsiValidator.h"

#include "platform/Ansi.h"

#include <QApplication>
#include <QLineEdit>

namespace tablor {

QValidator::State AnsiValidator::validate(QString& input, int&) const {
    for (const char32_t cp : input.toUcs4())
        if (!ansi::canHold(cp)) {
            QApplication::beep();
            return Invalid;
        }
    return Acceptable;
}

void AnsiValidator::applyTo(QLineEdit* edit) {
    edit->setValidator(new AnsiValidator(edit));
}

} // namespace tablor
