// The 36-byte command/answer frame: building command frames and unpacking answers.
//
// A frame is 18 big-endian 16-bit words. Command frames start with the sync word 85 and the order
// code; answers start with 170 (bytes 0x00 0xAA). The transmit buffer is never cleared: words an
// order does not write keep what the previous frame left there, which the sensor ignores.
#pragma once

#include <cstdint>

namespace tintra {

// Sizes and protocol constants.
constexpr uint16_t anzframe = 18;  // words in every frame
constexpr int frameBytes = 36;     // bytes in every frame
constexpr uint16_t anzpara = 233;  // words in the parameter image
constexpr uint16_t anzdata = 16;   // measured values in a data frame
constexpr uint16_t anzVec = 31;    // colour teach table rows
constexpr uint16_t anzOut = 5;     // digital outputs
constexpr uint16_t sync = 85;      // word 0 of every command frame
constexpr uint16_t answerHeader = 170;
constexpr int bufSize = 1024;
constexpr int ppSize = 512;
constexpr int rootTableSize = 256;
constexpr uint16_t rootTableBase = 5888; // sensor address of the cube-root table

// Order codes.
enum OrderCode : uint16_t {
    OrderSendPara = 1,
    OrderSendRow = 2,
    OrderGetPara = 3,
    OrderGetRow = 4,
    OrderData = 5,
    OrderStoreEeprom = 6,
    OrderIdent = 7,
    OrderLoadEeprom = 8,
    OrderSendCF = 30,
    OrderGetCF = 31,
    OrderAutoSend = 50,
    OrderRootStart = 180,
    OrderRootBlock = 182,
};

extern unsigned char szWriteBuf[bufSize];
extern unsigned char szReadBuf[bufSize];
extern uint16_t order;               // order code of the frame being built
extern uint16_t pp[ppSize];          // parameter image; also where parameter answers land
extern uint16_t databuf[anzframe];   // last data answer
extern uint16_t cfrot, cfgruen, cfblau;          // calibration factors (order 30)
extern uint16_t data3rdRoot[rootTableSize];      // cube-root table (order 182)

// Builds the command frame for `order` in szWriteBuf (bytes 0 ... 35 are sent; the generic
// payload writes through byte 39).
void FillTxBuf(uint16_t order, uint16_t index, uint16_t value, uint16_t count);

// Unpacks the 18 answer words of szReadBuf into words 0 ... 17 of pp / databuf.
void GetRxBufPara();
void GetRxBufData();

// Helpers shared with the simulated sensor and the tests.
inline void PutWord(unsigned char *buf, int word, uint16_t v)
{
    buf[2 * word] = static_cast<unsigned char>(v >> 8);
    buf[2 * word + 1] = static_cast<unsigned char>(v & 0xFF);
}
inline uint16_t GetWord(const unsigned char *buf, int word)
{
    return static_cast<uint16_t>((buf[2 * word] << 8) | buf[2 * word + 1]);
}

} // namespace tintra
