// Record file lines, record time and the signal courses, without a window.
#include "core/graphs/graphexport.h"
#include "core/graphs/envelope.h"
#include "link/recordfile.h"
#include "ui/recordtsv.h"

#include <QTemporaryDir>
#include <QtTest>
#include <random>

using namespace tintra;

class TestRecordFile : public QObject {
    Q_OBJECT

private slots:
    void recordTime_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("values");
        QTest::addColumn<QList<uint>>("dhms");
        QTest::newRow("10 s x 9000") << 10 << 9000 << QList<uint>{1, 1, 0, 0};
        QTest::newRow("1 s x 1") << 1 << 1 << QList<uint>{0, 0, 0, 1};
        QTest::newRow("59 s x 61") << 59 << 61 << QList<uint>{0, 0, 59, 59};
        QTest::newRow("2 s x 43200 is one day") << 2 << 43200 << QList<uint>{1, 0, 0, 0};
        QTest::newRow("largest") << 65535 << 65535 << QList<uint>{49708, 18, 3, 45};
        QTest::newRow("nothing") << 0 << 500 << QList<uint>{0, 0, 0, 0};
    }
    void recordTime()
    {
        QFETCH(int, interval);
        QFETCH(int, values);
        QFETCH(QList<uint>, dhms);
        const RecordTime t = SplitRecordTime(uint16_t(interval), uint16_t(values));
        QCOMPARE((QList<uint>{t.days, t.hours, t.minutes, t.seconds}), dhms);
    }

    void headerAndLinesReadBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.dat"));
        QVERIFY(AppendToRecordFile(path, RecordHeader()));
        const uint16_t a[8] = {0, 1, 4095, 65535, 10, 100, 255, 65535};
        const uint16_t b[8] = {7, 8, 9, 10, 11, 12, 13, 35};
        QVERIFY(AppendToRecordFile(path, RecordLine(QStringLiteral("02-29-2024"),
                                                    QStringLiteral("23:59:58"), a)));
        QVERIFY(AppendToRecordFile(path, RecordLine(QStringLiteral("12-01-2026"),
                                                    QStringLiteral("00:00:00"), b)));
        const test::RecordFileContents c = test::ReadRecordFile(path);
        QVERIFY(c.crlf);
        QCOMPARE(c.rows.size(), 3);
        QCOMPARE(c.rows[0], (QStringList{"DATE", "TIME", "RED", "GREEN", "BLUE", "X s", "Y i",
                                         "INT M", "COLOR", "TEMP", ""}));
        QCOMPARE(c.rows[1], (QStringList{"02-29-2024", "23:59:58", "0", "1", "4095", "65535",
                                         "10", "100", "255", "65535"}));
        QVERIFY(test::IsDataRow(c.rows[1]));
        QVERIFY(test::IsDataRow(c.rows[2]));
        QCOMPARE(c.rows[2].last(), QStringLiteral("35"));
    }

    void appendFailsWithReasonAndKeepsNothingHalf()
    {
        QTemporaryDir dir;
        const uint16_t v[8] = {};
        QString reason;
        // A directory where the file should be, a folder that does not exist, no name at all.
        for (const QString &path : {dir.path(), dir.filePath(QStringLiteral("gone/r.dat")),
                                    QString()}) {
            reason.clear();
            QVERIFY(!AppendToRecordFile(path, RecordLine(QStringLiteral("01-01-2026"),
                                                         QStringLiteral("00:00:00"), v), &reason));
            QVERIFY2(!reason.isEmpty(), qPrintable(path));
        }
    }

    void coursesSideBySideByFrame()
    {
        // Courses thinned apart have points at different frames: one line per frame, gaps empty.
        QCOMPARE(CourseCsv({{QStringLiteral("R"), {{0, 7}, {2, 9}, {5, 1}}},
                            {QStringLiteral("s"), {{1, 4}, {2, 3}}},
                            {QStringLiteral("TEMP"), {}}}),
                 QByteArray("frame,R,s,TEMP\n0,7,,\n1,,4,\n2,9,3,\n5,1,,\n"));
    }

    void longCourseBoundedWithEveryExtremeKept_data()
    {
        QTest::addColumn<qint64>("points");
        QTest::newRow("just full") << qint64(SignalEnvelope::maxBuckets);
        QTest::newRow("one more") << qint64(SignalEnvelope::maxBuckets + 1);
        QTest::newRow("a day at 1 s") << qint64(86400);
        QTest::newRow("3 h at 100/s") << qint64(1080000);
    }
    void longCourseBoundedWithEveryExtremeKept()
    {
        QFETCH(qint64, points);
        SignalEnvelope e;
        std::mt19937 rng(7);
        // A spike up and one down somewhere in the middle must survive any merging.
        const uint64_t up = uint64_t(points) / 3, down = uint64_t(points) * 2 / 3;
        for (uint64_t i = 0; i < uint64_t(points); ++i) {
            uint16_t value = uint16_t(1000 + rng() % 100);
            if (i == up)
                value = 4000;
            if (i == down)
                value = 3;
            e.add(i, value);
        }
        QCOMPARE(e.count(), uint64_t(points));
        QVERIFY(e.buckets() <= 2048);
        std::vector<EnvelopePoint> p;
        e.points(&p);
        QVERIFY(p.size() <= 4096);
        QVERIFY(p.size() >= std::min<size_t>(size_t(points), 1024));
        bool sawUp = false, sawDown = false;
        double lastX = -1;
        for (const EnvelopePoint &q : p) {
            QVERIFY(q.x > lastX); // the polyline runs left to right
            lastX = q.x;
            sawUp |= q.x == double(up) && q.y == 4000;
            sawDown |= q.x == double(down) && q.y == 3;
        }
        QVERIFY(sawUp && sawDown);
        QVERIFY(lastX >= double(points - int64_t(e.width())));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
