// The course of one signal over a recording of any length, in bounded memory.
//
// Points go into buckets of `width` consecutive positions; each bucket keeps its smallest and its
// largest value and where they occurred. While the bucket count stays below `maxBuckets` a bucket
// holds one point, so a short recording is kept exactly. When the buckets are full, neighbours are
// merged in pairs and the width doubles. Adding a point thus costs the same at any length (a merge
// of all buckets happens only each time the length doubles), and the whole course stays visible as
// a min/max envelope of at most 2 x maxBuckets points.
#pragma once

#include <cstdint>
#include <vector>

namespace tintra {

struct EnvelopePoint {
    double x;
    double y;
};

class SignalEnvelope {
public:
    static constexpr int maxBuckets = 2048;

    SignalEnvelope();
    void clear();
    // Adds the value at horizontal position `pos`. Positions come in rising order, one apart.
    void add(uint64_t pos, uint16_t value);

    uint64_t count() const { return n; }      // points added since clear()
    uint64_t width() const { return w; }      // positions per bucket (a power of two)
    int buckets() const { return int(b.size()); }
    int lowest() const { return lo; }         // smallest value so far (0 when empty)
    int highest() const { return hi; }        // largest value so far (0 when empty)

    // The polyline that draws the course: one point per bucket of width 1, else the bucket's
    // extremes in the order they occurred. At most 2 x maxBuckets points.
    void points(std::vector<EnvelopePoint> *out) const;

private:
    struct Bucket {
        uint64_t minAt, maxAt;
        uint16_t min, max;
    };
    void mergePairs();

    std::vector<Bucket> b;
    uint64_t first = 0; // position of the first point
    uint64_t n = 0;
    uint64_t w = 1;
    int lo = 0, hi = 0;
};

} // namespace tintra
