#pragma once
// The record card: the grid's current record as one label (the field's name) above one edit box
// (the field's value) per field. Every keystroke in an edit box goes straight into the table.
// The toolbar moves through the records, adds one, deletes the shown one, opens the search,
// prints the card and copies chosen fields. Labels can be dragged with the mouse; the
// arrangement and the card's size are saved with the table, its place in the settings file.
//
// The card holds no copy of the table: it reads the cells when it is filled and writes a cell
// when an edit box changes. The record it shows is the number in its caption. It is created
// hidden, once, and only shown and hidden afterwards.

#include "card/CardGeometry.h"
#include "card/RecordCard.h"
#include "platform/Platform.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QImage;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolBar;

namespace tablor {

class CardClientArea;

// What the card asks of the main window.
struct CardCommands {
    std::function<void()> addRecord;     // the add-record command
    std::function<void()> deleteRecords; // the delete-record command, on the grid's selection
    std::function<void()> search;        // shows the search dialog
    // Shows the copy-options dialog listing `names`, the `ticked` ones selected; the selection
    // confirmed with OK, or nothing.
    std::function<std::optional<std::vector<bool>>(const QStringList& names,
                                                   const std::vector<bool>& ticked)>
        chooseFields;
    // Prints the picture of the card, drawn at `dotsPerInch`, at its physical size.
    std::function<void(const QImage& picture, double dotsPerInch)> print;
};

class TFiche : public QWidget, public RecordCard {
    Q_OBJECT
public:
    // Creates the card hidden, at the place the settings file gives, with the document's layout.
    TFiche(TableDocument& doc, Platform& platform, const std::string& settingsPath,
           CardCommands commands, QWidget* parent = nullptr);

    // RecordCard.
    void FillCard() override;
    void ApplyCardLayout() override;
    void ResetCardLayout() override;
    QPoint cardPosition() const override;
    void ShowCard() override;
    int cardWidth() const override { return outer_.width(); }
    int cardHeight() const override { return outer_.height(); }
    int labelLeft(int field) const override { return left_[field]; }
    int labelTop(int field) const override { return top_[field]; }

    // After a search hit: selects the keyword in each edit box of the table's fields that holds
    // it (ASCII letters folded), the last of them becoming the card's active control, and
    // brings the card to the front when it is shown.
    void showKeyword(const std::string& keyword);

    // The record number in the caption.
    int shownRecord() const;

    // Handlers.
    void ModifieListe(int pair);
    void Label1MouseDown(int pair, QPoint at);
    void Label1MouseMove(int pair, QPoint at);
    void Label1MouseUp(int pair);
    void tlbtnPremierClick();
    void tlbtnPrecedentClick();
    void tlbtnSuivantClick();
    void tlbtnDernierClick();
    void ToolButton6Click();  // add a record
    void ToolButton7Click();  // delete the shown record
    void ToolButton9Click();  // search
    void ToolButton10Click(); // print the card
    void ToolButton11Click(); // copy chosen fields

    // Components, by their designer names: Labels[i] is Label<i+1>, Edits[i] is Edit<i+1>.
    std::array<QLabel*, card::Pairs> Labels{};
    std::array<QLineEdit*, card::Pairs> Edits{};
    QWidget* ControlBar1;
    QToolBar* ToolBar1;
    QStatusBar* StatusBar1;
    QAction *tlbtnPremier, *tlbtnPrecedent, *tlbtnSuivant, *tlbtnDernier, *ToolButton6,
        *ToolButton7, *ToolButton9, *ToolButton10, *ToolButton11;
    CardClientArea* clientArea() const { return area_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const std::string& settingsPath);
    void FormActivate();
    void buildToolBar();
    void run(const std::function<void()>& handler);
    void placePair(int pair);
    void placeAll();
    void updateBounds();
    void applyOuterSize();
    void goToRow(int row);

    TableDocument& doc_;
    Platform& platform_;
    CardCommands commands_;
    CardClientArea* area_;
    std::array<int, card::Pairs> left_{}, top_{};
    std::array<bool, card::Pairs> shown_{};
    QSize outer_{DefaultCardWidth, DefaultCardHeight}; // the card's size with its frame
    QSize clientAsked_;                                // what applyOuterSize asked for
    bool filling_ = false;
    // A label is being dragged, grabbed at this point of it.
    bool Dragging = false;
    int DragX = 0, DragY = 0;
    bool shownOnce_ = false;
};

} // namespace tablor
