// Sort and sweep along the axis on which the centres spread widest (a stream of
// shots lies along its line of flight). Two boxes whose centres lie further apart
// on that axis than sqrt(3.06) times the largest sum of half sizes are far apart by
// boxesFarApart's own rule (the squared offset is at least that part squared), so
// the sweep may stop there for every box.
#include "world/near_pairs.h"

#include "world/collision.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

bool finiteCentre(const OrientedBox& box) {
    return std::isfinite(box.centre.x) && std::isfinite(box.centre.y) &&
           std::isfinite(box.centre.z);
}

} // namespace

void findNearPairs(const OrientedBox* boxes, int count, std::vector<BoxPair>& pairs) {
    pairs.clear();
    static std::vector<int> order;
    static std::vector<int> wild;
    order.clear();
    wild.clear();
    float largestReach = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Vec3& e = boxes[i].halfExtents;
        largestReach = std::max(largestReach, e[0] + e[1] + e[2]);
        // A centre that is not a number (or infinite) has no place on the axis, and
        // the full test calls such a box near everything: it pairs with all.
        (finiteCentre(boxes[i]) ? order : wild).push_back(i);
    }
    int axis = 0;
    float widest = -1.0f;
    for (int a = 0; a < 3 && !order.empty(); ++a) {
        float low = boxes[order[0]].centre[a];
        float high = low;
        for (int i : order) {
            low = std::min(low, boxes[i].centre[a]);
            high = std::max(high, boxes[i].centre[a]);
        }
        if (high - low > widest) {
            widest = high - low;
            axis = a;
        }
    }
    // 1.75^2 = 3.0625 lies above boxesFarApart's 3.06 by more than the rounding of
    // either side; the thousandth covers a reach of zero.
    const float reach = 1.75f * 2.0f * largestReach + 1e-3f;
    // Sorted by place on the axis, each with its own box index.
    static std::vector<std::pair<float, int>> placed;
    placed.clear();
    for (int i : order)
        placed.push_back({boxes[i].centre[axis], i});
    std::sort(placed.begin(), placed.end());
    for (size_t k = 0; k < placed.size(); ++k) {
        const int a = placed[k].second;
        for (size_t m = k + 1; m < placed.size() && placed[m].first - placed[k].first <= reach;
             ++m) {
            const int b = placed[m].second;
            if (!boxesFarApart(boxes[a], boxes[b]))
                pairs.push_back({std::min(a, b), std::max(a, b)});
        }
    }
    for (int w : wild)
        for (int i = 0; i < count; ++i)
            if (i != w && (finiteCentre(boxes[i]) || i > w))
                pairs.push_back({std::min(i, w), std::max(i, w)});
    // Into the pair loop's order: counted out by first, then each short run sorted.
    static std::vector<int> starts;
    static std::vector<BoxPair> unsorted;
    starts.assign(count + 1, 0);
    for (const BoxPair& p : pairs)
        ++starts[p.first + 1];
    for (int i = 0; i < count; ++i)
        starts[i + 1] += starts[i];
    unsorted.swap(pairs);
    pairs.resize(unsorted.size());
    for (const BoxPair& p : unsorted)
        pairs[starts[p.first]++] = p;
    for (size_t a = 0; a < pairs.size();) {
        size_t b = a + 1;
        while (b < pairs.size() && pairs[b].first == pairs[a].first)
            ++b;
        std::sort(pairs.begin() + a, pairs.begin() + b,
                  [](const BoxPair& x, const BoxPair& y) { return x.second < y.second; });
        a = b;
    }
}
