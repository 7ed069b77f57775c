#include "envelope.h"

#include <algorithm>

namespace tintra {

SignalEnvelope::SignalEnvelope() { b.reserve(maxBuckets); }

void SignalEnvelope::clear()
{
    b.clear();
    first = 0;
    n = 0;
    w = 1;
    lo = hi = 0;
}

void SignalEnvelope::add(uint64_t pos, uint16_t value)
{
    if (n == 0) {
        first = pos;
        lo = hi = value;
    }
    lo = std::min<int>(lo, value);
    hi = std::max<int>(hi, value);
    ++n;
    const uint64_t offset = pos - first;
    if (offset / w >= uint64_t(b.size()) && b.size() == std::size_t(maxBuckets))
        mergePairs();
    if (offset / w >= uint64_t(b.size())) {
        b.push_back({pos, pos, value, value});
        return;
    }
    // Positions rise one at a time, so the point belongs to the newest bucket.
    Bucket &last = b.back();
    if (value < last.min) {
        last.min = value;
        last.minAt = pos;
    }
    if (value > last.max) {
        last.max = value;
        last.maxAt = pos;
    }
}

void SignalEnvelope::mergePairs()
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < b.size(); i += 2) {
        Bucket m = b[i];
        if (i + 1 < b.size()) {
            const Bucket &o = b[i + 1];
            if (o.min < m.min) {
                m.min = o.min;
                m.minAt = o.minAt;
            }
            if (o.max > m.max) {
                m.max = o.max;
                m.maxAt = o.maxAt;
            }
        }
        b[out++] = m;
    }
    b.resize(out);
    w *= 2;
}

void SignalEnvelope::points(std::vector<EnvelopePoint> *out) const
{
    out->clear();
    out->reserve(b.size() * (w == 1 ? 1 : 2));
    for (const Bucket &k : b) {
        if (w == 1 || k.minAt == k.maxAt) {
            out->push_back({double(k.minAt), double(k.min)});
        } else if (k.minAt < k.maxAt) {
            out->push_back({double(k.minAt), double(k.min)});
            out->push_back({double(k.maxAt), double(k.max)});
        } else {
            out->push_back({double(k.maxAt), double(k.max)});
            out->push_back({double(k.minAt), double(k.min)});
        }
    }
}

} // namespace tintra
