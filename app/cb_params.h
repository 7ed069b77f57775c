// Callbacks of the parameter panels, the COLOR TEACH TABLE and the parameter transfer.
#pragma once

namespace tintra {

void CBF_ButtonSend();
void CBF_ButtonGet();
void CBF_SelectRAM(bool on);
void CBF_SelectEEPROM(bool on);
void CBF_SelectFILE(bool on);
void CBF_Calcmode();

} // namespace tintra
