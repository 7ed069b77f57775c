// Editable drop-down list for the SERVER field: free typing with completion from the list, or
// picking an entry. Completion is our own rule, not Qt's completer: the first entry (in list order)
// whose upper-cased text begins with the upper-cased typed text completes it; the appended part is
// selected so that further typing replaces it. Backspace and Delete switch completion off for the
// next change; any other key switches it on again.
//
// The field is a plain text field until Combo_NewComboBox turns it into a combo box; the list
// operations refuse (-45) before that.
#pragma once

#include <QComboBox>

namespace tintra {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    bool isComboBox() const { return created; }
    QString text() const;
    void setText(const QString &text);
    // Longest text the field takes; -1 means no limit.
    int maxTextLength() const { return maxLength; }

signals:
    // The operator confirmed the text: Enter, leaving the field after changing it, or picking an
    // entry from the list (then the entry is in the field already).
    void committed(const QString &text);

protected:
    // Keys reach the combo box, which has the focus, and it hands them to its field itself
    // (past any event filter on the field): so they are handled here.
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    friend int Combo_NewComboBox(ComboBox *);
    friend int Combo_SetComboAttribute(ComboBox *, int, int);
    void complete(const QString &typed);
    void commit();

    bool created = false;
    bool edited = false;
    bool keyboardOpened = false;
    int maxLength = -1;
};

// Error codes.
constexpr int ComboErrNotComboBox = -45; // not a combo box, or already one
constexpr int ComboErrAttribute = -46;   // attribute not handled

enum ComboAttribute {
    ComboAttrColour = 1,    // value 0xRRGGBB
    ComboAttrVisible = 2,   // 0 / 1
    ComboAttrDimmed = 3,    // 0 / 1
    ComboAttrMaxLength = 4, // characters, -1 no limit
};

// Turns the field into a combo box; -45 if it already is one (the first one keeps working).
int Combo_NewComboBox(ComboBox *c);
int Combo_SetComboAttribute(ComboBox *c, int attribute, int value);
// Inserts `text` at `index` (-1 or past the end: at the end); returns the index used.
int Combo_InsertComboItem(ComboBox *c, int index, const QString &text);
// Deletes `count` entries from `index` on; count -1 deletes to the end. Returns 0.
int Combo_DeleteComboItem(ComboBox *c, int index, int count);
// Stores the index of the entry equal to `text` (exactly) in *index, or -1.
int Combo_GetIndexFromValue(ComboBox *c, int *index, const QString &text);

// Whether the next change of any combo box's text may be completed (module-wide, as the keys that
// switch it are).
bool ComboCompletionEnabled();

} // namespace tintra
