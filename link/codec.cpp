#include "codec.h"
#include "receive.h"

namespace tintra {

unsigned char szWriteBuf[bufSize];
unsigned char szReadBuf[bufSize];
uint16_t order = 1;
uint16_t pp[ppSize];
uint16_t databuf[anzframe];
uint16_t cfrot, cfgruen, cfblau;
uint16_t data3rdRoot[rootTableSize];

void FillTxBuf(uint16_t ord, uint16_t index, uint16_t value, uint16_t count)
{
    PutWord(szWriteBuf, 0, sync);
    PutWord(szWriteBuf, 1, ord);
    switch (ord) {
    case OrderSendRow: {
        // Row numbers come from our own loops (0 ... 30); anything else would read past the image.
        if (index >= anzVec)
            return;
        PutWord(szWriteBuf, 2, index);
        const int base = 16 + 7 * index;
        for (int k = 0; k < 7; ++k)
            PutWord(szWriteBuf, 3 + k, pp[base + k]);
        break;
    }
    case OrderGetRow:
    case OrderAutoSend:
    case OrderRootStart:
        PutWord(szWriteBuf, 2, ord == OrderRootStart ? value : index);
        break;
    case OrderSendCF:
        PutWord(szWriteBuf, 2, cfrot);
        PutWord(szWriteBuf, 3, cfgruen);
        PutWord(szWriteBuf, 4, cfblau);
        break;
    case OrderRootBlock: {
        PutWord(szWriteBuf, 2, value);
        PutWord(szWriteBuf, 3, count);
        // At most 14 entries fit behind the four header words; stay inside the table.
        const int n = count > 14 ? 14 : count;
        for (int k = 0; k < n && index + k < rootTableSize; ++k)
            PutWord(szWriteBuf, 4 + k, data3rdRoot[index + k]);
        break;
    }
    default:
        // Generic payload: anzframe words of pp from word 2 on, so bytes 36 ... 39 are written
        // (and never sent).
        for (int k = 0; k < anzframe; ++k)
            PutWord(szWriteBuf, 2 + k, pp[k]);
        break;
    }
}

void GetRxBufPara()
{
    for (int i = 0; i < anzframe; ++i)
        pp[i] = GetWord(szReadBuf, i);
}

void GetRxBufData()
{
    for (int i = 0; i < anzframe; ++i)
        databuf[i] = GetWord(szReadBuf, i);
}

bool AnswerEchoes(int n)
{
    if (szReadBuf[0] != 0x00 || szReadBuf[1] != 0xAA)
        return false;
    const int last = 2 * n - 1 < frameBytes ? 2 * n - 1 : frameBytes - 1;
    for (int i = 2; i <= last; ++i)
        if (szReadBuf[i] != szWriteBuf[i])
            return false;
    return true;
}

} // namespace tintra
