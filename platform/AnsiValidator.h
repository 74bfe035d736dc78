#pragma once
// Keeps an edit box to what Windows-1252 can hold, so that what it shows is what is stored: a
// character that code page lacks is refused as it is typed or pasted, with a beep. Every edit
// box whose text becomes cell, field-name or keyword bytes uses this one validator.

#include <QValidator>

class QLineEdit;

namespace tablor {

class AnsiValidator : public QValidator {
public:
    explicit AnsiValidator(QObject* parent = nullptr) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;

    // Gives `edit` its own validator.
    static void applyTo(QLineEdit* edit);
};

} // namespace tablor
