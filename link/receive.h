// The receive path on any device, as the two links use it: the serial port and the TCP socket
// call these with themselves, a test or a fuzzer with a device it fills.
#pragma once

class QIODevice;

namespace tintra {

// TCP data ready: when `current` and an answer is awaited (bytesToRead > 0), reads into szReadBuf
// at dataSize - bytesToRead and counts bytesToRead down, never past the receive buffer; every
// byte nobody waits for is read and discarded.
void CollectAnswer(QIODevice *d, bool current);

// Serial bytes arriving between exchanges: beyond serialQueueBytes the oldest are dropped, in
// whole frames.
void DropSerialSurplus(QIODevice *d);

// Serial answer: reads the dataSize (> 0) bytes waiting into szReadBuf (at most the buffer; the
// rest is dropped); bytesToRead = 36 - dataSize (negative: a surplus).
void TakeSerialAnswer(QIODevice *d);

// True when the answer in szReadBuf starts with 0x00 0xAA and repeats bytes 2 ... 2n-1 of the
// frame in szWriteBuf (words 1 ... n-1; n beyond the frame counts as the whole frame).
bool AnswerEchoes(int n);

} // namespace tintra
