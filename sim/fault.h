// Faults the simulated sensor can play, so tests can provoke every failure of the link.
//
// Text form (command line): KIND[:ORDER[:FROMFRAME[:ARG[:once]]]]
//   KIND       noanswer | short | extra | wrongecho | delay | split | close | garbage | merge |
//              trail
//   ORDER      order code the fault applies to; empty or '*' for every order
//   FROMFRAME  the fault starts with the n-th frame received after it was set (1 = at once)
//   ARG        extra: bytes added (default 4); wrongecho: byte index to invert (default: byte 1
//              becomes 0xAB); delay: milliseconds (default 500); split: pieces (default 3);
//              garbage: bytes before the answer (default 6); merge: data frames (default 1);
//              trail: bytes after the answer (default 4)
//   once       the fault is played one time and then forgotten
#pragma once

#include <QString>
#include <optional>

namespace tintra::sim {

struct Fault {
    enum Kind {
        NoAnswer,    // the sensor stays silent
        ShortAnswer, // only the first 35 bytes of the answer
        ExtraBytes,  // the answer followed by `arg` more bytes
        WrongEcho,   // byte 1 is 0xAB, or byte `arg` inverted
        Delay,       // the answer leaves `arg` ms late
        Split,       // the answer in `arg` writes with short pauses
        Close,       // no answer; the TCP connection closes, the terminal is replugged
        Garbage,     // `arg` bytes of noise before the answer, in the same write
        Merge,       // the answer and `arg` data frames after it, in one write
        Trail,       // the answer, then `arg` bytes of noise a little later (a line that rings)
    };
    Kind kind = NoAnswer;
    int order = -1;     // order code, -1 = every order
    int fromFrame = 1;  // first frame (counted from when the fault was set) that it affects
    int arg = -1;       // kind-specific, -1 = default
    bool once = false;

    // Does the fault apply to the frame with this order code, the n-th since the fault was set?
    bool appliesTo(int orderCode, int n) const
    {
        return (order < 0 || order == orderCode) && n >= fromFrame;
    }
    int argOr(int fallback) const { return arg >= 0 ? arg : fallback; }

    static std::optional<Fault> parse(const QString &text, QString *error = nullptr);
    QString toString() const;
};

} // namespace tintra::sim
