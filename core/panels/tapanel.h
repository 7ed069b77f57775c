// Table attributes: row indicator colours and row texts.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QPushButton>
#include <QWidget>

class QComboBox;
class QSpinBox;
class QTableWidget;

namespace tintra {

// A colour chooser: shows its colour; a click opens the colour picker of the platform layer and,
// when a colour is chosen, takes it and reports `committed`. The swatch inside its frame is
// exactly the chosen colour; dimmed, it is the colour halfway to grey 0xC0C0C0.
class ColorNumeric : public QPushButton {
    Q_OBJECT
public:
    explicit ColorNumeric(QWidget *parent = nullptr);
    int value() const { return rgb; } // 0xRRGGBB
    void setValue(int rgb);
    // The colour the swatch shows: the value, or its dimmed form while the control is dimmed.
    int shownColour() const;

signals:
    void committed();

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int rgb = 0;
};

class TaPanel : public QWidget {
    Q_OBJECT
public:
    explicit TaPanel(QWidget *parent = nullptr);

    QComboBox *EditSetColor;          // colour mode: 0 manually, 1 automatically
    QSpinBox *EditRow;                // colour row 0 ... 30 for SET ROW COLOR
    ColorNumeric *EditColorNumericRow; // the colour for SET ROW COLOR
    QPushButton *ButtonSetRowColor;
    QPushButton *ButtonSaveArray;     // SAVE
    QPushButton *ButtonGetArray;      // LOAD
    QPushButton *ButtonSetStartupArray;

    // Row-specification table: rows 1 ... 31 for colour rows 0 ... 30; column 1 the row's text,
    // column 2 its indicator colour.
    QTableWidget *GridTa;
};

} // namespace tintra
