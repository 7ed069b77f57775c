#include "logo.h"

#include <QPainter>
#include <QPainterPath>

namespace tintra {

namespace {

const char *const title = "TINTRA-Revov V3.0";
const char *const vendor1 = "Revov Colour Instruments";
const char *const vendor2 = "Service line  +00 123 456 789";
const char *const vendor3 = "sensor-support@revov.invalid";

// Row 5 is the start-up branding. The vendor lines are ours.
const LogoVariant variants[logoVariants] = {
    /* 0 */ {0xFFFFFF, 800, 5, 0, 2, {{title, 280, 20, 22}, {}, {}, {}}},
    /* 1 */ {0xFFFFFF, 7, 5, 1, 2, {{title, 260, 14, 26}, {vendor1, 780, 6, 14}, {vendor2, 780, 26, 14}, {}}},
    /* 2 */ {0xFFFFFF, 705, 2, 2, 1, {{title, 20, 14, 28}, {vendor1, 20, 44, 14}, {}, {}}},
    /* 3 */ {0xFFFFFF, 420, 6, 3, 2, {{title, 20, 12, 30}, {vendor3, 700, 6, 14}, {vendor2, 700, 24, 14}, {vendor1, 700, 42, 14}}},
    /* 4 */ {0xFFFFFF, 7, 2, 1, 3, {{title, 300, 16, 22}, {}, {}, {}}},
    /* 5 */ {0x0080FF, 325, 6, 1, 3, {{title, 323, 30, 18}, {vendor1, 15, 5, 12}, {vendor2, 15, 20, 12}, {vendor3, 15, 35, 12}}},
    /* 6 */ {0xFFFFFF, 600, 5, 2, 1, {{title, 20, 16, 24}, {vendor1, 860, 12, 14}, {}, {}}},
    /* 7 */ {0xFFFFFF, 120, 6, 3, 2, {{title, 360, 14, 26}, {vendor2, 820, 8, 14}, {vendor3, 820, 28, 14}, {}}},
    /* 8 */ {0xFFFFFF, 7, 5, 2, 1, {{title, 240, 12, 30}, {}, {}, {}}},
    /* 9 */ {0xFFFFFF, 500, 2, 1, 2, {{title, 20, 18, 22}, {vendor1, 760, 6, 14}, {vendor2, 760, 24, 14}, {vendor3, 760, 42, 14}}},
    /* 10 */ {0xFFFFFF, 300, 6, 3, 3, {{title, 560, 16, 24}, {vendor1, 20, 18, 14}, {}, {}}},
    /* 11 */ {0xFFFFFF, 650, 5, 1, 1, {{title, 40, 14, 28}, {vendor2, 900, 18, 14}, {}, {}}},
    /* 12 */ {0xFFFFFF, 7, 2, 2, 2, {{title, 280, 16, 26}, {vendor1, 820, 6, 14}, {vendor3, 820, 26, 14}, {}}},
};

struct Style {
    unsigned text;
    int background; // 0xRRGGBB, or -1 transparent
};
const Style styles[4] = {{0, 0}, {0x808080, 0xFFFFFF}, {0x000000, 0xFFFFFF}, {0xFFFFFF, -1}};

QLabel *ShowInfoText(Logo *area, int style, const QString &text, int left, int top, int size)
{
    auto *l = new QLabel(area);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    QFont f = l->font(); // the application's font
    f.setPointSize(size);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(styles[style].text));
    if (styles[style].background >= 0) {
        l->setAutoFillBackground(true);
        pal.setColor(QPalette::Window, QColor::fromRgb(QRgb(styles[style].background)));
    }
    l->setPalette(pal);
    l->adjustSize();
    l->move(left, top);
    l->show();
    return l;
}

} // namespace

Logo::Logo(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Logo"));
    setFixedHeight(66);
    setMinimumWidth(1000);
    LogoPicture = new QLabel(this);
    LogoPicture->setObjectName(QStringLiteral("LogoPicture"));
}

void Logo::setAreaColour(unsigned rgb)
{
    colour = rgb & 0xFFFFFFu;
    update();
}

void Logo::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(colour));
}

const LogoVariant *LogoVariantRow(int variant)
{
    if (variant < 0 || variant >= logoVariants)
        return nullptr;
    return &variants[variant];
}

const LogoDisc logoDiscs[3] = {
    {2, 2, 20, 0xDCE62828},
    {12, 2, 20, 0xDC28BE3C},
    {22, 2, 20, 0xDC2850E6},
};

namespace {

// The discs' box in the logo picture, and the scale and offset that centre it in a square.
struct MarkFit {
    double scale, dx, dy;
};
MarkFit FitMark(double side)
{
    const double left = logoDiscs[0].left, top = logoDiscs[0].top;
    const double width = logoDiscs[2].left + logoDiscs[2].diameter - left;
    const double height = logoDiscs[0].diameter;
    const double margin = side / 16;
    const double scale = (side - 2 * margin) / width;
    return {scale, margin - left * scale, (side - height * scale) / 2 - top * scale};
}

} // namespace

QImage LogoIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const MarkFit f = FitMark(size);
    for (const LogoDisc &d : logoDiscs) {
        p.setBrush(QColor::fromRgba(d.argb));
        p.drawEllipse(QRectF(f.dx + d.left * f.scale, f.dy + d.top * f.scale,
                             d.diameter * f.scale, d.diameter * f.scale));
    }
    return img;
}

QByteArray LogoIconSvg()
{
    const MarkFit f = FitMark(48);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
                     "viewBox=\"0 0 48 48\">\n";
    for (const LogoDisc &d : logoDiscs) {
        const QColor c = QColor::fromRgba(d.argb);
        const double r = d.diameter * f.scale / 2;
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" "
                              "fill-opacity=\"%5\"/>\n")
                   .arg(f.dx + d.left * f.scale + r, 0, 'f', 2)
                   .arg(f.dy + d.top * f.scale + r, 0, 'f', 2)
                   .arg(r, 0, 'f', 2)
                   .arg(c.name())
                   .arg(c.alphaF(), 0, 'f', 3)
                   .toUtf8();
    }
    return svg + "</svg>\n";
}

QPixmap LogoImage(int image)
{
    if (image < 1 || image > 3)
        return {};
    // A small word mark: three overlapping colour discs (red, green, blue) and the name.
    QPixmap pm(150, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const LogoDisc &d = logoDiscs[i];
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgba(logoDiscs[(i + image - 1) % 3].argb));
        p.drawEllipse(QRectF(d.left, d.top, d.diameter, d.diameter));
    }
    QFont f;
    f.setPixelSize(16);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(f);
    p.setPen(image == 1 ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20));
    p.drawText(QRect(38, 0, 112, 24), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("REVOV"));
    return pm;
}

void ShowLogo(Logo *area, int variant)
{
    const LogoVariant *v = LogoVariantRow(variant);
    if (!area || !v)
        return;
    area->setAreaColour(v->areaColour);
    area->LogoPicture->move(v->logoLeft, v->logoTop);
    if (v->logoImage) {
        area->LogoPicture->setPixmap(LogoImage(v->logoImage));
        area->LogoPicture->adjustSize();
    }
    for (const LogoLabel &l : v->labels) {
        if (!l.text)
            break;
        ShowInfoText(area, v->style, QString::fromUtf8(l.text), l.left, l.top, l.size);
    }
}

QLabel *ShowInfoText1(Logo *area, const QString &text, int left, int top, int size)
{
    return ShowInfoText(area, 1, text, left, top, size);
}
QLabel *ShowInfoText2(Logo *area, const QString &text, int left, int top, int size)
{
    return ShowInfoText(area, 2, text, left, top, size);
}
QLabel *ShowInfoText3(Logo *area, const QString &text, int left, int top, int size)
{
    return ShowInfoText(area, 3, text, left, top, size);
}

} // namespace tintra
