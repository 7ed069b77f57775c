#include "state.h"

#include <cstdlib>
#include <cstring>
#include <algorithm>

namespace tintra {

uint16_t comprotocol;
uint16_t comport = 1;
int16_t ret;
int g_hconversation;
uint16_t tcpcon;
char ipBuf[256];
char portNumStr[32];
int portNum;
char szStatus[48];
unsigned char version[40];

int dataSize;
int bytesToRead;
int bytesRead;
int nBytesW;
double tstart;
double tdiff;

uint16_t poll;
uint16_t comecho;
uint16_t target = RAM;

void EndLoop() { poll = 0; }

uint16_t dataR, dataG, dataB, dataX, dataY, dataINT, dataCOL, dataRawR, dataRawG, dataRawB,
    dataTemp, dataGroup, dataTrigger, dataFrei14, dataFrei15, dataFrei16;
uint16_t *const dataValues[16] = {&dataR,    &dataG,    &dataB,     &dataX,       &dataY,
                                  &dataINT,  &dataCOL,  &dataRawR,  &dataRawG,    &dataRawB,
                                  &dataTemp, &dataGroup, &dataTrigger, &dataFrei14, &dataFrei15,
                                  &dataFrei16};

uint16_t zeitint;
double recstart;

int Copy1D(const double *in, int n, double *out)
{
    if (n <= 0)
        return -20003;
    std::memmove(out, in, sizeof(double) * std::size_t(n));
    return 0;
}

int Shift(const double *in, int n, int k, double *out)
{
    if (n <= 0)
        return -20003;
    if (std::abs(k) >= n)
        return -20102;
    const std::size_t keep = std::size_t(n - std::abs(k));
    if (k >= 0) {
        std::memmove(out + k, in, sizeof(double) * keep);
        std::fill(out, out + k, 0.0);
    } else {
        std::memmove(out, in - k, sizeof(double) * keep);
        std::fill(out + keep, out + n, 0.0);
    }
    return 0;
}

} // namespace tintra
