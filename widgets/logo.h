// Branding area of the main window: a coloured band with a logo picture and one to four text
// labels (the title and vendor lines). One build serves several brandings; a variant number 0 ... 12
// picks the colours, positions, label style and texts from a table.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace tintra {

class Logo : public QWidget {
    Q_OBJECT
public:
    explicit Logo(QWidget *parent = nullptr);

    QLabel *LogoPicture;  // the logo image; positioned by the variant
    unsigned areaColour() const { return colour; }
    void setAreaColour(unsigned rgb);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    unsigned colour = 0xFFFFFF;
};

constexpr int logoVariants = 13;

struct LogoLabel {
    const char *text; // nullptr ends the list
    int left, top, size;
};

struct LogoVariant {
    unsigned areaColour;
    int logoLeft, logoTop;
    int logoImage; // 0: none; else one of our drawn logos
    int style;     // 1 grey on white, 2 black on white, 3 white on transparent
    LogoLabel labels[4];
};

// The variant table (rows 0 ... 12); nullptr outside.
const LogoVariant *LogoVariantRow(int variant);

// The logo picture of `image` (1 ... 3), drawn by the program; a null pixmap for 0 or unknown.
QPixmap LogoImage(int image);

// The logo's mark: three overlapping discs in a row (position, diameter in the logo picture's
// pixels; colour with its alpha). Logo picture n starts the colours at disc n.
struct LogoDisc {
    double left, top, diameter;
    unsigned argb;
};
extern const LogoDisc logoDiscs[3];

// The mark of logo picture 1 as the program's icon: centred in a transparent square of `size`
// pixels (PNG), and the same drawing as a scalable SVG document of 48 x 48 units.
QImage LogoIcon(int size);
QByteArray LogoIconSvg();

// Sets up the branding area for `variant`; outside 0 ... 12 it changes nothing.
void ShowLogo(Logo *area, int variant);

// Create one text label on the branding area in label style 1, 2 or 3. Labels are never changed or
// removed afterwards.
QLabel *ShowInfoText1(Logo *area, const QString &text, int left, int top, int size);
QLabel *ShowInfoText2(Logo *area, const QString &text, int left, int top, int size);
QLabel *ShowInfoText3(Logo *area, const QString &text, int left, int top, int size);

} // namespace tintra
