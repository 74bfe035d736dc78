#pragma once
// The search dialog "Rechercher": finds a keyword in the records, one occurrence per press of
// "Chercher"/"Suivant". Each hit becomes the grid's current cell, the record card follows it and
// shows the keyword selected in its edit boxes. Modeless and on top, so the user goes on working
// while it is open; created once, hidden, and only shown and hidden afterwards.

#include "platform/Platform.h"
#include "table/TableDocument.h"

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tablor {

class TFiche;

class TFind : public QDialog {
    Q_OBJECT
public:
    // `card` may be null: the search then only moves the grid.
    TFind(TableDocument& doc, Platform& platform, TFiche* card, QWidget* parent = nullptr);

    // Shows the dialog (in the middle of the screen the first time) and brings it to the front;
    // the search goes on where it was.
    void showDialog();

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;     // the keyword
    QPushButton* FindBtn; // "Chercher" from the first record, "Suivant" after a hit
    QPushButton* BitBtn2; // "Annuler"

    // Where the next search starts: the column in the start row only, and the row.
    std::int32_t SearchCol = 0;
    std::int32_t SearchRow = 1;
    QString LastKeyword; // the keyword as of its last change

    void Edit1Change();
    void FindBtnClick();
    void BitBtn2Click();

    double layoutScale() const { return scale_; }

protected:
    bool event(QEvent* event) override;
    void reject() override; // Escape, "Annuler" and the close box all come here

private:
    void FormCreate();
    void FormActivate();
    void FormClose();
    void layOut();

    TableDocument& doc_;
    Platform& platform_;
    TFiche* card_;
    double scale_ = 1.0;
    bool shownOnce_ = false;
};

} // namespace tablor
