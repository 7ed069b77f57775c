// Frame building and unpacking, and the parameter image conversions.
#include "link/codec.h"
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
    return status;
}

#include "tst_codec.moc"
