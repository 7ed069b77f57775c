// Frame building and unpacking, and the parameter image conversions.
#include "link/codec.h"
#include "link/framesplitter.h"
#include "link/paraimage.h"

#include <QtTest>
#include <cstring>

using namespace tintra;

class TestCodec : public QObject {
    Q_OBJECT

    static uint16_t word(int i) { return GetWord(szWriteBuf, i); }

private slots:
    void init()
    {
        std::memset(szWriteBuf, 0, sizeof szWriteBuf);
        std::memset(szReadBuf, 0, sizeof szReadBuf);
        std::memset(pp, 0, sizeof pp);
    }

    void wordsAreBigEndian()
    {
        pp[0] = 0x1234;
        FillTxBuf(OrderSendPara, 0, 0, 0);
        QCOMPARE(szWriteBuf[0], 0x00); // sync 85 = 0x0055
        QCOMPARE(szWriteBuf[1], 0x55);
        QCOMPARE(szWriteBuf[2], 0x00); // order 1
        QCOMPARE(szWriteBuf[3], 0x01);
        QCOMPARE(szWriteBuf[4], 0x12);
        QCOMPARE(szWriteBuf[5], 0x34);
    }

    void genericPayloadCopiesEighteenWords_data()
    {
        QTest::addColumn<int>("ord");
        for (int o : {1, 3, 5, 6, 7, 8, 31})
            QTest::addRow("order %d", o) << o;
    }
    void genericPayloadCopiesEighteenWords()
    {
        QFETCH(int, ord);
        for (int i = 0; i < 20; ++i)
            pp[i] = uint16_t(1000 + i);
        FillTxBuf(uint16_t(ord), 7, 9, 3);
        QCOMPARE(word(1), uint16_t(ord));
        for (int k = 0; k < 16; ++k)
            QCOMPARE(word(2 + k), uint16_t(1000 + k));
        // Words 16 and 17 of pp land in bytes 36 ... 39, outside the sent frame.
        QCOMPARE(word(18), uint16_t(1016));
        QCOMPARE(word(19), uint16_t(1017));
        QCOMPARE(szWriteBuf[40], 0);
    }

    void rowFrameCarriesImageRow()
    {
        for (int i = 0; i < anzpara; ++i)
            pp[i] = uint16_t(i);
        FillTxBuf(OrderSendRow, 30, 0, 0);
        QCOMPARE(word(2), uint16_t(30));
        for (int k = 0; k < 7; ++k)
            QCOMPARE(word(3 + k), uint16_t(226 + k)); // words 226 ... 232, the image's last
        FillTxBuf(OrderSendRow, 31, 0, 0); // no such row: nothing beyond the header changes
        QCOMPARE(word(2), uint16_t(30));
    }

    void unwrittenWordsKeepThePreviousFrame()
    {
        for (int i = 0; i < 16; ++i)
            pp[i] = uint16_t(500 + i);
        FillTxBuf(OrderSendPara, 0, 0, 0);
        FillTxBuf(OrderGetRow, 7, 0, 0);
        QCOMPARE(word(1), uint16_t(4));
        QCOMPARE(word(2), uint16_t(7));
        for (int k = 3; k < 18; ++k)
            QCOMPARE(word(k), uint16_t(500 + k - 2));
        FillTxBuf(OrderAutoSend, 1, 0, 0);
        QCOMPARE(word(1), uint16_t(50));
        QCOMPARE(word(2), uint16_t(1));
        QCOMPARE(word(3), uint16_t(501));
    }

    void calibrationAndRootFrames()
    {
        cfrot = 1100;
        cfgruen = 1200;
        cfblau = 900;
        FillTxBuf(OrderSendCF, 0, 0, 0);
        QCOMPARE(word(2), uint16_t(1100));
        QCOMPARE(word(3), uint16_t(1200));
        QCOMPARE(word(4), uint16_t(900));

        FillTxBuf(OrderRootStart, 0, rootTableBase, 0);
        QCOMPARE(word(1), uint16_t(180));
        QCOMPARE(word(2), uint16_t(5888));

        for (int i = 0; i < rootTableSize; ++i)
            data3rdRoot[i] = uint16_t(10000 + i);
        FillTxBuf(OrderRootBlock, 0, rootTableBase, 14);
        QCOMPARE(word(3), uint16_t(14));
        QCOMPARE(word(17), uint16_t(10013));
        // A block of 4 writes words 2 ... 7; words 8 ... 17 keep the previous block's entries.
        FillTxBuf(OrderRootBlock, 252, rootTableBase + 252, 4);
        QCOMPARE(word(2), uint16_t(5888 + 252));
        QCOMPARE(word(3), uint16_t(4));
        QCOMPARE(word(4), uint16_t(10252));
        QCOMPARE(word(7), uint16_t(10255));
        QCOMPARE(word(8), uint16_t(10004));
        QCOMPARE(word(17), uint16_t(10013));
    }

    void unpackingAnswers()
    {
        const unsigned char answer[] = {0x00, 0xAA, 0x00, 0x03, 0xFF, 0xFF, 0x12, 0x34};
        std::memcpy(szReadBuf, answer, sizeof answer);
        pp[18] = 77;
        GetRxBufPara();
        QCOMPARE(pp[0], uint16_t(170));
        QCOMPARE(pp[1], uint16_t(3));
        QCOMPARE(pp[2], uint16_t(65535));
        QCOMPARE(pp[3], uint16_t(0x1234));
        QCOMPARE(pp[18], uint16_t(77)); // words 18 and up untouched
        GetRxBufData();
        QCOMPARE(databuf[2], uint16_t(65535));
    }
};

class TestParaImage : public QObject {
    Q_OBJECT

    static void answer(std::initializer_list<uint16_t> words)
    {
        std::memset(pp, 0, 36);
        int i = 0;
        for (uint16_t w : words)
            pp[i++] = w;
    }

private slots:
    void init()
    {
        for (uint16_t *p : paraScalars)
            *p = 0;
        std::memset(paraTeachTable, 0, sizeof paraTeachTable);
        std::memset(paraGroupBuf, 0, sizeof paraGroupBuf);
        std::memset(paraHoldBuf, 0, sizeof paraHoldBuf);
        std::memset(pp, 0, sizeof pp);
    }

    void imageLayout()
    {
        for (int i = 0; i < 16; ++i)
            *paraScalars[i] = uint16_t(i + 1);
        QCOMPARE(paraScalars[6], &paraMaxVecNo);
        QCOMPARE(paraScalars[15], &paraGain);
        for (int r = 0; r < anzVec; ++r) {
            for (int c = 0; c < 5; ++c)
                paraTeachTable[5 * r + c] = uint16_t(100 * r + c);
            paraGroupBuf[r] = uint16_t(r);
            paraHoldBuf[r] = uint16_t(1000 + r);
        }
        CopyVarsToPP();
        QCOMPARE(pp[0], uint16_t(1));
        QCOMPARE(pp[4], uint16_t(5)); // paraHold255 is word 4
        QCOMPARE(pp[15], uint16_t(16));
        QCOMPARE(pp[16 + 7 * 3 + 2], uint16_t(302));
        QCOMPARE(pp[16 + 7 * 3 + 5], uint16_t(3));
        QCOMPARE(pp[226], uint16_t(3000));
        QCOMPARE(pp[232], uint16_t(1030));
        QCOMPARE(pp[233], uint16_t(0));
    }

    void fileImageRoundTrip()
    {
        for (int i = 0; i < anzpara; ++i)
            pp[i] = uint16_t(i * 7 + 3);
        pp[6] = 20;
        CopyFileParatoVars();
        uint16_t saved[anzpara];
        std::memcpy(saved, pp, sizeof saved);
        std::memset(pp, 0, sizeof pp);
        CopyVarsToPP();
        QVERIFY(std::memcmp(saved, pp, sizeof saved) == 0);
    }

    void maxColNoIsCutTo31()
    {
        answer({170, 3, 0, 0, 0, 0, 0, 0, 40});
        CopyPPtoVars();
        QCOMPARE(paraMaxVecNo, uint16_t(31));
        pp[6] = 99;
        CopyFileParatoVars();
        QCOMPARE(paraMaxVecNo, uint16_t(31));
        pp[6] = 31;
        CopyFileParatoVars();
        QCOMPARE(paraMaxVecNo, uint16_t(31));
    }

    void answersFillParametersAndRows()
    {
        answer({170, 3, 700, 1, 4, 2, 10, 50, 12, 1, 3, 0, 2, 100, 3000, 1, 2, 5});
        CopyPPtoVars();
        QCOMPARE(paraPower, uint16_t(700));
        QCOMPARE(paraCalcmode, uint16_t(2));
        QCOMPARE(paraGain, uint16_t(5));
        answer({170, 4, 30, 11, 12, 13, 14, 15, 16, 17});
        CopyPPtoVars();
        QCOMPARE(paraTeachTable[150], uint16_t(11));
        QCOMPARE(paraTeachTable[154], uint16_t(15));
        QCOMPARE(paraGroupBuf[30], uint16_t(16));
        QCOMPARE(paraHoldBuf[30], uint16_t(17));
        CopyVarsToPP(); // row 30 is words 226 ... 232 of the next image
        QCOMPARE(pp[226], uint16_t(11));
        QCOMPARE(pp[232], uint16_t(17));
    }

    void badAnswersChangeNothing()
    {
        paraPower = 123;
        answer({171, 3, 700});
        CopyPPtoVars();
        QCOMPARE(paraPower, uint16_t(123));
        answer({170, 5, 700});
        CopyPPtoVars();
        QCOMPARE(paraPower, uint16_t(123));
        // A row index past the table would write beyond it: ignored.
        const uint16_t hold = paraHold255;
        answer({170, 4, 31, 9, 9, 9, 9, 9, 9, 9});
        CopyPPtoVars();
        answer({170, 4, 65535, 9, 9, 9, 9, 9, 9, 9});
        CopyPPtoVars();
        QCOMPARE(paraHold255, hold);
        for (uint16_t v : paraGroupBuf)
            QCOMPARE(v, uint16_t(0));
    }

    void imageIsRebuiltOverStaleAnswerWords()
    {
        paraPower = 321;
        answer({170, 4, 0, 1, 2, 3, 4, 5, 6, 7}); // last GET answer left in pp
        CopyPPtoVars();
        CopyVarsToPP();
        QCOMPARE(pp[0], uint16_t(321));
        QCOMPARE(pp[1], uint16_t(0));
    }
};

class TestFrameSplitter : public QObject {
    Q_OBJECT

    // Frame A ... E: word 0 170, word 1 order 5, word w carries letter * 0x100 + w (no zero byte),
    // except B, whose word 2 is 170: a frame start's bytes inside a frame.
    static QByteArray Frame(char c)
    {
        unsigned char b[36];
        PutWord(b, 0, answerHeader);
        PutWord(b, 1, OrderData);
        for (int w = 2; w < 18; ++w)
            PutWord(b, w, uint16_t((c - 'A' + 1) * 0x100 + w));
        if (c == 'B')
            PutWord(b, 2, answerHeader);
        return QByteArray(reinterpret_cast<const char *>(b), 36);
    }
    // The reads of a stream written as tokens: "A" a whole frame, "A/n" frame A cut after byte n
    // into two reads, "A-n" its first n bytes only, "ee" one byte in hex, "|" the next read.
    static QList<QByteArray> Reads(const QString &stream)
    {
        QList<QByteArray> reads{QByteArray()};
        for (const QString &t : stream.split(u' ', Qt::SkipEmptyParts)) {
            const QByteArray f = t[0].isUpper() ? Frame(t[0].toLatin1()) : QByteArray();
            const int n = t.mid(2).toInt();
            if (t == QLatin1String("|"))
                reads << QByteArray();
            else if (f.isEmpty())
                reads.last() += char(t.toInt(nullptr, 16));
            else if (t.size() == 1)
                reads.last() += f;
            else if (t[1] == u'/')
                reads.last() += f.left(n), reads << f.mid(n);
            else
                reads.last() += f.left(n);
        }
        return reads;
    }

private slots:
    void takesEveryWholeFrameAndCountsDroppedBytes()
    {
        struct Row {
            const char *what, *stream;
            QStringList frames; // each in the stream's tokens
            int dropped;        // after the stream ended
        };
        const Row rows[] = {
            {"one frame", "A", {"A"}, 0},
            {"three merged in one read", "A B C", {"A", "B", "C"}, 0},
            {"split 1/35", "A/1 B", {"A", "B"}, 0},
            {"split 18/18 twice", "A/18 B/18 C", {"A", "B", "C"}, 0},
            {"split 35/1, then 2/34", "A/35 B/2", {"A", "B"}, 0},
            {"empty reads between", "| A/9 | | B", {"A", "B"}, 0},
            {"170 inside a frame", "B A | B ee A", {"B", "A", "B", "A"}, 1},
            {"garbage before", "ee 55 01 A", {"A"}, 3},
            {"zero bytes in garbage before the last frame", "00 05 00 A", {"A"}, 3},
            {"garbage between, a read of its own", "A | 12 34 56 78 | B", {"A", "B"}, 4},
            {"garbage after", "A B ff ee", {"A", "B"}, 2},
            {"lone header bytes, a header at the end", "aa 00 | 00 A 00 aa", {"A"}, 5},
            {"false 170 in garbage, frames behind it", "11 00 aa 22 A B", {"A", "B"}, 4},
            {"false 170 in garbage across reads", "A 00 aa | 33 | B C", {"A", "B", "C"}, 3},
            {"false 170 in garbage, nothing behind it", "11 00 aa 22 A", {"00 aa 22 A-33"}, 4},
            {"truncated last frame", "A B-20", {"A"}, 20},
            {"garbage only", "00 00 aa", {}, 3},
        };
        QStringList got, want;
        for (const Row &r : rows) {
            FrameSplitter s;
            QStringList frames;
            for (const QByteArray &read : Reads(QString::fromLatin1(r.stream))) {
                s.add(read.constData(), read.size());
                while (const unsigned char *f = s.next())
                    frames << QByteArray(reinterpret_cast<const char *>(f), 36).toHex(' ');
            }
            const qint64 heldAtEnd = s.held();
            s.finish();
            got << QStringLiteral("%1: %2; dropped %3, frames %4, held %5")
                       .arg(r.what, frames.join(" / ")).arg(s.dropped()).arg(s.frames())
                       .arg(s.held());
            QStringList w;
            for (const QString &f : r.frames)
                w << Reads(f).join().toHex(' ');
            want << QStringLiteral("%1: %2; dropped %3, frames %4, held 0")
                        .arg(r.what, w.join(" / ")).arg(r.dropped).arg(r.frames.size());
            QVERIFY(heldAtEnd < 36);
            s.clear();
            QVERIFY(s.dropped() == 0 && s.frames() == 0 && !s.next());
        }
        QCOMPARE(got, want);
    }
};

int main(int argc, char **argv)
{
    int status = 0;
    {
        TestCodec t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestParaImage t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestFrameSplitter t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_codec.moc"
