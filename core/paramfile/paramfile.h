// The parameter file: the 233-word parameter image as text, one ten-character decimal field a
// line ("Parameter.ini" by default).
#pragma once

#include <QString>
#include <cstdint>

namespace tintra {

// The file dialog starts in the program's directory.

// SEND to FILE: choose a file, then write the panels' parameter set to it. The previous file
// stays intact when the write fails; the failure is reported. True when written.
bool SendParaToFile();

// GET from FILE: choose a file and put its parameter set on the panels. A missing or short file,
// or one holding anything but whole numbers 0 ... 65535, is refused with a message and changes
// nothing. True when loaded.
bool ReadParaFromFile();

// Chooses a parameter file and reads its 233 words into `image` (the path into *chosen), with
// the same checks and message as GET from FILE; the panels are not touched.
bool ChooseParaFile(uint16_t *image, QString *chosen = nullptr);

} // namespace tintra
