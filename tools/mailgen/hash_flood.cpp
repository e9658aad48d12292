// A flood of one FNV-1a value, built block by block: from the state the blocks so far
// leave, two different blocks of four characters that lead to the same next state are
// found. Either of them may stand at that place, so n places give 2^n identifiers of one
// hash.
#include "hash_flood.h"

#include <algorithm>
#include <utility>

namespace mailgen {

namespace {

constexpr uint32_t kOffsetBasis = 2166136261u;
constexpr uint32_t kPrime = 16777619u;
const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr uint32_t kAlphabetSize = sizeof kAlphabet - 1;

uint32_t Step(uint32_t state, char c) {
    if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
    }
    return (state ^ static_cast<unsigned char>(c)) * kPrime;
}

std::string Prefix(uint32_t n) {
    std::string text(3, 'a');
    for (char& c : text) {
        c = kAlphabet[n % kAlphabetSize];
        n /= kAlphabetSize;
    }
    return text;
}

uint32_t After(uint32_t state, const std::string& text) {
    for (const char c : text) {
        state = Step(state, c);
    }
    return state;
}

// Two blocks that take `state` to one next state. The last step multiplies by an odd
// number, which loses nothing, so two blocks meet exactly when the states after their
// first three characters differ only in the low byte, by the difference of two last
// characters: (x ^ a) * p == (y ^ b) * p. The 36^3 prefixes are sorted by their upper
// 24 bits, and the first pair that agrees there and whose low bytes two characters can
// reconcile is taken.
std::pair<std::string, std::string> CollidingBlocks(uint32_t state) {
    std::vector<std::pair<uint32_t, uint32_t>> prefixes; // state after the prefix, its number
    const uint32_t count = kAlphabetSize * kAlphabetSize * kAlphabetSize;
    prefixes.reserve(count);
    for (uint32_t n = 0; n < count; ++n) {
        prefixes.emplace_back(After(state, Prefix(n)), n);
    }
    std::sort(prefixes.begin(), prefixes.end(), [](const auto& a, const auto& b) {
        return (a.first >> 8) != (b.first >> 8) ? (a.first >> 8) < (b.first >> 8)
                                                : a.second < b.second;
    });
    for (size_t i = 0; i + 1 < prefixes.size(); ++i) {
        for (size_t j = i + 1;
             j < prefixes.size() && (prefixes[j].first >> 8) == (prefixes[i].first >> 8); ++j) {
            const uint32_t difference = (prefixes[i].first ^ prefixes[j].first) & 0xFF;
            for (uint32_t a = 0; a < kAlphabetSize; ++a) {
                for (uint32_t b = 0; b < kAlphabetSize; ++b) {
                    if ((static_cast<uint32_t>(kAlphabet[a] ^ kAlphabet[b]) & 0xFF) == difference) {
                        return {Prefix(prefixes[i].second) + kAlphabet[a],
                                Prefix(prefixes[j].second) + kAlphabet[b]};
                    }
                }
            }
        }
    }
    return {}; // not reached for any state: every one has such pairs many times over
}

} // namespace

uint32_t FoldedFnv1a(const std::string& text) {
    return After(kOffsetBasis, text);
}

std::vector<std::string> FnvFloodIdentifiers(int doublings) {
    std::vector<std::string> ids(1);
    uint32_t state = kOffsetBasis;
    for (int k = 0; k < doublings && k < 20; ++k) {
        const auto blocks = CollidingBlocks(state);
        std::vector<std::string> next;
        next.reserve(ids.size() * 2);
        for (const std::string& id : ids) {
            next.push_back(id + blocks.first);
            next.push_back(id + blocks.second);
        }
        ids = std::move(next);
        state = After(state, blocks.first);
    }
    return ids;
}

} // namespace mailgen
