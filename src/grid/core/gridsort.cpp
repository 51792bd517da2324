#include "grid/core/gridsort.h"

#include <algorithm>
#include <cstdint>

namespace kovanta::grid {

namespace {

bool blank(std::string_view s)
{
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// The part of the comparison that comes before the keys: missing objects (or empty texts)
// sort last. Returns -1 when it does not decide.
int presenceDecision(std::string_view tx1, std::string_view tx2, const void* obj1, const void* obj2,
                     bool objectUsed)
{
    if (objectUsed) {
        if (obj1 == nullptr || obj2 == nullptr)
            return obj1 == nullptr && obj2 != nullptr ? 1 : 0;
    } else {
        const bool e1 = blank(tx1), e2 = blank(tx2);
        if (e1 || e2)
            return e1 && !e2 ? 1 : 0;
    }
    return -1;
}

template <typename Key> bool keysOutOfOrder(const Key& k1, const Key& k2, int sortArt)
{
    return (sortArt % 2 == 0) ? k2 < k1 : k1 < k2;
}

// Stable merge sort of the positions 0..n-1. outOfOrder(upperPosition, a, b) says whether
// entry a above entry b must be exchanged; upperPosition is a's place in the work list at the
// moment of the comparison. Short runs are sorted by exchanging neighbours, longer ones merged.
template <typename OutOfOrder> std::vector<int> stableSortPositions(int n, OutOfOrder&& out)
{
    std::vector<int> work(n);
    for (int i = 0; i < n; ++i)
        work[i] = i;
    constexpr int kRun = 24;
    for (int start = 0; start < n; start += kRun) {
        const int end = std::min(n, start + kRun);
        for (int i = start + 1; i < end; ++i) {
            for (int j = i; j > start && out(j - 1, work[j - 1], work[j]); --j)
                std::swap(work[j - 1], work[j]);
        }
    }
    std::vector<int> buffer(n);
    for (int width = kRun; width < n; width *= 2) {
        for (int lo = 0; lo < n; lo += 2 * width) {
            const int mid = std::min(n, lo + width), hi = std::min(n, lo + 2 * width);
            if (mid >= hi || !out(mid - 1, work[mid - 1], work[mid])) {
                std::copy(work.begin() + lo, work.begin() + hi, buffer.begin() + lo);
                continue;
            }
            int i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                // The right entry goes first only when the left one above it is out of order.
                if (out(i, work[i], work[j]))
                    buffer[k++] = work[j++];
                else
                    buffer[k++] = work[i++];
            }
            while (i < mid)
                buffer[k++] = work[i++];
            while (j < hi)
                buffer[k++] = work[j++];
        }
        work.swap(buffer);
    }
    return work;
}

} // namespace

bool outOfOrder(std::string_view tx1, std::string_view tx2, const void* obj1, const void* obj2,
                SortType type, int sortArt, bool objectUsed)
{
    if (const int d = presenceDecision(tx1, tx2, obj1, obj2, objectUsed); d >= 0)
        return d == 1;
    switch (type) {
    case SortType::Number:
        return keysOutOfOrder(digitValue(tx1), digitValue(tx2), sortArt);
    case SortType::Date:
        return keysOutOfOrder(dateSortKey(tx1, sortArt), dateSortKey(tx2, sortArt), sortArt);
    case SortType::Text:
    default:
        // Byte order: no collation, case-sensitive, umlauts after 'z'.
        return keysOutOfOrder(tx1, tx2, sortArt);
    }
}

std::string dateSortKey(std::string_view text, int sortArt)
{
    std::string_view day = text, month, rest;
    if (const auto d1 = text.find('.'); d1 != std::string_view::npos) {
        day = text.substr(0, d1);
        month = text.substr(d1 + 1);
        if (const auto d2 = month.find('.'); d2 != std::string_view::npos) {
            rest = month.substr(d2 + 1);
            month = month.substr(0, d2);
        }
    }
    std::string key;
    key.reserve(text.size());
    if (sortArt == 2 || sortArt == 3) {
        key.append(month).append(day).append(rest);
    } else {
        key.append(rest).append(month).append(day);
    }
    return key;
}

std::vector<int> sortOrder(const std::vector<SortEntry>& entries, const SortSettings& settings,
                           const SortCompareHook& hook)
{
    const int n = static_cast<int>(entries.size());
    if (hook) {
        return stableSortPositions(n, [&](int upper, int a, int b) {
            std::string tx1(entries[a].text), tx2(entries[b].text);
            const void* o1 = entries[a].object;
            const void* o2 = entries[b].object;
            int type = static_cast<int>(settings.type);
            int art = settings.sortArt;
            hook(upper, tx1, tx2, o1, o2, type, art);
            const SortType t =
                (type >= 0 && type <= 2) ? static_cast<SortType>(type) : SortType::Text;
            return outOfOrder(tx1, tx2, o1, o2, t, art, settings.objectUsed);
        });
    }
    // Without a hook the comparison is a strict weak order: rows without object (or with an
    // empty text) form one group after all others, in their order, and the rest are ordered
    // by key alone. A stable partition plus a stable sort of (key, position) pairs yields
    // exactly the order of the exchange passes.
    const int art = settings.sortArt;
    std::vector<int> present, absent;
    present.reserve(n);
    for (int i = 0; i < n; ++i) {
        const bool missing =
            settings.objectUsed ? entries[i].object == nullptr : blank(entries[i].text);
        (missing ? absent : present).push_back(i);
    }
    auto withKeys = [&](auto keyOf) {
        using Key = decltype(keyOf(0));
        std::vector<std::pair<Key, int>> keyed;
        keyed.reserve(present.size());
        for (int i : present)
            keyed.emplace_back(keyOf(i), i);
        if (art % 2 == 0)
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        else
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const auto& a, const auto& b) { return b.first < a.first; });
        std::vector<int> order;
        order.reserve(n);
        for (const auto& k : keyed)
            order.push_back(k.second);
        order.insert(order.end(), absent.begin(), absent.end());
        return order;
    };
    switch (settings.type) {
    case SortType::Number:
        return withKeys([&](int i) { return digitValue(entries[i].text); });
    case SortType::Date:
        return withKeys([&](int i) { return dateSortKey(entries[i].text, art); });
    case SortType::Text:
    default:
        return withKeys([&](int i) { return entries[i].text; });
    }
}

char nextSortTyp(char sortTyp, char datenTyp)
{
    switch (sortTyp) {
    case '0':
        return '1';
    case '1':
        return datenTyp == 'D' ? '2' : '0';
    case '2':
        return '3';
    default:
        return '0';
    }
}

} // namespace kovanta::grid
