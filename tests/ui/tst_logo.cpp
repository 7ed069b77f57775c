// Branding: the variant table drives colour, logo position and picture, and the labels.
#include "core/panels/mainpanel.h"
#include "widgets/logo.h"

#include <QLabel>
#include <QTest>

using namespace tintra;

namespace {

QList<QLabel *> Labels(Logo *area)
{
    QList<QLabel *> out;
    for (QLabel *l : area->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (l != area->LogoPicture)
            out << l;
    return out;
}

} // namespace

class TestLogo : public QObject {
    Q_OBJECT

private slots:
    void variantZeroShowsOnlyTheTitle()
    {
        Logo area;
        ShowLogo(&area, 0);
        QCOMPARE(area.areaColour(), 0xFFFFFFu);
        QCOMPARE(area.LogoPicture->pos(), QPoint(800, 5));
        QVERIFY(area.LogoPicture->pixmap().isNull());
        const QList<QLabel *> labels = Labels(&area);
        QCOMPARE(labels.size(), 1);
        QLabel *t = labels[0];
        QCOMPARE(t->text(), QStringLiteral("TINTRA-Revov V3.0"));
        QCOMPARE(t->pos(), QPoint(280, 20));
        QCOMPARE(t->font().pointSize(), 22);
        QCOMPARE(t->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(t->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(t->autoFillBackground());
        QCOMPARE(t->textFormat(), Qt::PlainText);
    }

    void startUpVariantFive()
    {
        // Positions are those of the main panel, sizes in points.
        MainPanel panel;
        Logo &area = *panel.LogoArea;
        ShowLogo(&area, 5);
        panel.resize(1100, 800);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(area.areaColour(), 0x0080FFu);
        QCOMPARE(area.LogoPicture->mapTo(&panel, QPoint()), QPoint(325, 6));
        QVERIFY(!area.LogoPicture->pixmap().isNull());
        const QList<QLabel *> labels = Labels(&area);
        QCOMPARE(labels.size(), 4);
        const QPoint at[4] = {{323, 30}, {15, 5}, {15, 20}, {15, 35}};
        const int size[4] = {18, 12, 12, 12};
        QCOMPARE(labels[0]->text(), QStringLiteral("TINTRA-Revov V3.0"));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(labels[i]->mapTo(&panel, QPoint()), at[i]);
            QCOMPARE(labels[i]->font().pointSize(), size[i]);
            QVERIFY(area.rect().contains(labels[i]->geometry())); // not cut by the band
            QCOMPARE(labels[i]->palette().color(QPalette::WindowText), QColor(Qt::white));
            QVERIFY(!labels[i]->autoFillBackground()); // transparent on the blue band
            QVERIFY(!labels[i]->text().isEmpty());
        }
    }

    void everyVariantHasTheTitle_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 0; v < logoVariants; ++v)
            QTest::newRow(qPrintable(QString::number(v))) << v;
    }
    void everyVariantHasTheTitle()
    {
        QFETCH(int, variant);
        const LogoVariant *row = LogoVariantRow(variant);
        QVERIFY(row);
        QVERIFY(row->style >= 1 && row->style <= 3);
        int titles = 0;
        for (const LogoLabel &l : row->labels)
            if (l.text && QString::fromUtf8(l.text) == QLatin1String("TINTRA-Revov V3.0"))
                ++titles;
        QCOMPARE(titles, 1);
        Logo area;
        ShowLogo(&area, variant);
        QVERIFY(!Labels(&area).isEmpty());
    }

    void outOfRangeChangesNothing_data()
    {
        QTest::addColumn<int>("variant");
        QTest::newRow("-1") << -1;
        QTest::newRow("13") << 13;
    }
    void outOfRangeChangesNothing()
    {
        QFETCH(int, variant);
        Logo area;
        ShowLogo(&area, 0);
        ShowLogo(&area, variant);
        QCOMPARE(area.areaColour(), 0xFFFFFFu);
        QCOMPARE(area.LogoPicture->pos(), QPoint(800, 5));
        QCOMPARE(Labels(&area).size(), 1);
        QVERIFY(!LogoVariantRow(variant));
    }
};

QTEST_MAIN(TestLogo)
#include "tst_logo.moc"
