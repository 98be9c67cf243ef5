#include "doc/color_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zk {

namespace {

using gdi::Color;

std::array<Color, 256> MakeDefaultTable() {
    std::array<Color, 256> t{};
    constexpr Color kLow[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
    constexpr Color kHigh[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 10; ++i) {
        t[i] = kLow[i];
        t[246 + i] = kHigh[i];
    }
    for (int i = 10; i < 246; ++i)
        t[i] = gdi::RGB((i & 7) * 32, ((i >> 3) & 7) * 32, (i >> 6) * 64);
    return t;
}

// Index of the 5-5-5 colour that a 0x00RRGGBB pixel reduces to: the reduction first keeps only
// the top five bits of each channel, so 32K answers cover every colour exactly.
inline std::uint32_t Index555(Color c) {
    return ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F);
}

std::unique_ptr<std::uint8_t[]> MakeReductionTable() {
    const auto& table = ColorTable::Default();
    auto lut = std::make_unique<std::uint8_t[]>(32768);
    for (std::uint32_t i = 0; i < 32768; ++i) {
        // The channel taken as (c & 0xF8) | 4: the middle of the eight values sharing its top bits.
        const int r = static_cast<int>(((i >> 10) & 31) << 3) | 4;
        const int g = static_cast<int>(((i >> 5) & 31) << 3) | 4;
        const int b = static_cast<int>((i & 31) << 3) | 4;
        int best = 0;
        int bestDist = 1 << 30;
        for (int k = 0; k < 256; ++k) {
            const int dr = r - gdi::GetRValue(table[k]);
            const int dg = g - gdi::GetGValue(table[k]);
            const int db = b - gdi::GetBValue(table[k]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDist) {  // strictly less: ties go to the lower index
                bestDist = d;
                best = k;
            }
        }
        lut[i] = static_cast<std::uint8_t>(best);
    }
    return lut;
}

const std::uint8_t* ReductionTable() {
    static const std::unique_ptr<std::uint8_t[]> lut = MakeReductionTable();
    return lut.get();
}

// One row of display pixels reduced to default-table indices. The 5-5-5 indices are computed
// eight at a time where SSE2 is there; only the table look-ups stay one by one. With Check, it
// also tells whether every pixel is the very colour of the entry it gets, in the same pass (the
// row is read once: a large map's rows come from memory, not the caches).
template <bool Check>
bool ReduceRow(const Color* src, std::uint8_t* dst, int w, const std::uint8_t* lut,
               const Color* table = nullptr) {
    Color differs = 0;
    int x = 0;
#if defined(__SSE2__)
    const __m128i maskR = _mm_set1_epi32(0x7C00);
    const __m128i maskG = _mm_set1_epi32(0x03E0);
    const __m128i maskB = _mm_set1_epi32(0x001F);
    const auto index555 = [&](__m128i v) {
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 9), maskR),
                                         _mm_and_si128(_mm_srli_epi32(v, 6), maskG)),
                            _mm_and_si128(_mm_srli_epi32(v, 3), maskB));
    };
    alignas(16) std::uint32_t idx[8];
    for (; x + 8 <= w; x += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + 4));
        _mm_store_si128(reinterpret_cast<__m128i*>(idx), index555(a));
        _mm_store_si128(reinterpret_cast<__m128i*>(idx + 4), index555(b));
        for (int k = 0; k < 8; ++k) {
            const std::uint8_t entry = lut[idx[k]];
            dst[x + k] = entry;
            if constexpr (Check)
                differs |= table[entry] ^ src[x + k];
        }
    }
#endif
    for (; x < w; ++x) {
        const std::uint8_t entry = lut[Index555(src[x])];
        dst[x] = entry;
        if constexpr (Check)
            differs |= table[entry] ^ src[x];
    }
    return (differs & 0xFFFFFF) == 0;
}

// The two colours met last, most recent first: a map's pixels are mostly runs of one colour
// and patterns of two, and a pixel of either costs a comparison, not a look-up.
struct RecentColors {
    Color last = ~Color{0};
    Color before = ~Color{0};
    // Whether c is one of them (it becomes the last); else it is made the last, and false.
    bool Meet(Color c) {
        if (c == last)
            return true;
        std::swap(last, before);
        if (c == last)
            return true;
        last = c;
        return false;
    }
};

// Of the four pixels at p: which have colour a (bit k for pixel k), and whether each of them is
// a or b.
struct FourMatch {
    unsigned ofA;
    bool onlyAB;
};
inline FourMatch MatchFour(const Color* p, Color a, Color b) {
#if defined(__SSE2__)
    const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                    _mm_set1_epi32(0xFFFFFF));
    const __m128i isA = _mm_cmpeq_epi32(v, _mm_set1_epi32(static_cast<int>(a)));
    const __m128i isB = _mm_cmpeq_epi32(v, _mm_set1_epi32(static_cast<int>(b)));
    return {static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(isA))),
            _mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(isA, isB))) == 0xF};
#else
    FourMatch m{0, true};
    for (int k = 0; k < 4; ++k) {
        const Color c = p[k] & 0xFFFFFF;
        m.ofA |= c == a ? 1u << k : 0;
        m.onlyAB = m.onlyAB && (c == a || c == b);
    }
    return m;
#endif
}

// Four bytes in memory order, byte k 0xFF where bit k of the index is set.
constexpr std::array<std::uint32_t, 16> MakeSpread() {
    std::array<std::uint32_t, 16> t{};
    for (unsigned bits = 0; bits < 16; ++bits)
        for (unsigned k = 0; k < 4; ++k)
            if (bits & (1u << k))
                t[bits] |= 0xFFu << (8 * (std::endian::native == std::endian::little ? k : 3 - k));
    return t;
}
constexpr std::array<std::uint32_t, 16> kSpread = MakeSpread();

// Calls `take(colour)` at least once for every colour of the bitmap (again for a colour not met
// just before), until `take` returns false. Pixels of the two colours met last are passed over
// four at a time.
template <class Take>
void ForEachColourChange(const gdi::Bitmap& bitmap, Take take) {
    const std::size_t n = bitmap.PixelCount();
    const Color* p = bitmap.Data();
    RecentColors recent;
    std::size_t i = 0;
    while (i < n) {
        if (i + 4 <= n && MatchFour(p + i, recent.last, recent.before).onlyAB) {
            i += 4;
            continue;
        }
        for (const std::size_t end = std::min(n, i + 4); i < end; ++i)
            if (const Color c = p[i] & 0xFFFFFF; !recent.Meet(c) && !take(c))
                return;
    }
}

// Writes the palette indices of `n` pixels, `look(colour)` telling a colour's index (-1: none,
// and the indexing fails). The two colours met last cost no look-up, and four pixels of them are
// indexed at once.
template <class Look>
bool IndexPixels(const Color* src, std::uint8_t* dst, std::size_t n, Look look) {
    RecentColors recent;
    std::uint8_t lastIndex = 0, beforeIndex = 0;
    std::size_t x = 0;
    while (x < n) {
        if (x + 4 <= n) {
            const FourMatch m = MatchFour(src + x, recent.last, recent.before);
            if (m.onlyAB) {
                const std::uint32_t spread = kSpread[m.ofA];
                const std::uint32_t four =
                    (lastIndex * 0x01010101u & spread) | (beforeIndex * 0x01010101u & ~spread);
                std::memcpy(dst + x, &four, 4);
                x += 4;
                continue;
            }
        }
        for (const std::size_t end = std::min(n, x + 4); x < end; ++x) {
            const Color c = src[x] & 0xFFFFFF;
            if (c != recent.last) {
                std::swap(lastIndex, beforeIndex);
                if (!recent.Meet(c)) {
                    const int index = look(c);
                    if (index < 0)
                        return false;
                    lastIndex = static_cast<std::uint8_t>(index);
                }
            }
            dst[x] = lastIndex;
        }
    }
    return true;
}

}  // namespace

// The distinct colours of a bitmap while there are at most `Limit`, each with the index of its
// first appearance; `overflow` once there are more.
template <std::uint32_t Limit>
struct SmallColorSet {
    static constexpr std::uint32_t kSlots = 2 * Limit;
    std::uint32_t keys[kSlots] = {};  // colour + 1; 0 is a free slot
    std::uint8_t indices[kSlots] = {};
    Color colors[Limit] = {};
    std::uint32_t count = 0;
    bool overflow = false;

    static std::uint32_t Slot(Color c) {
        return ((c * 0x9E3779B1u) >> (32 - std::bit_width(kSlots - 1))) & (kSlots - 1);
    }
    void Collect(const gdi::Bitmap& bitmap) {
        ForEachColourChange(bitmap, [this](Color c) { return Insert(c); });
    }
    bool Insert(Color c) { return Add(c) >= 0; }
    // The index of the colour, added when it is new; -1 when there is no room for it.
    int Add(Color c) {
        std::uint32_t s = Slot(c);
        while (true) {
            if (keys[s] == c + 1)
                return indices[s];
            if (keys[s] == 0)
                break;
            s = (s + 1) & (kSlots - 1);
        }
        if (count == Limit) {
            overflow = true;
            return -1;
        }
        keys[s] = c + 1;
        indices[s] = static_cast<std::uint8_t>(count);
        colors[count] = c;
        return static_cast<int>(count++);
    }
    // The index stored with a colour of the set, to be changed.
    std::uint8_t& IndexOf(Color c) {
        std::uint32_t s = Slot(c);
        while (keys[s] != c + 1)
            s = (s + 1) & (kSlots - 1);
        return indices[s];
    }
    // The index of a colour of the set.
    std::uint8_t Find(Color c) const {
        std::uint32_t s = Slot(c);
        while (keys[s] != 0 && keys[s] != c + 1)
            s = (s + 1) & (kSlots - 1);
        return indices[s];
    }
};

std::optional<ExactPalette> ExactPalette::Of(const gdi::Bitmap& bitmap, std::uint8_t* indices) {
    ExactPalette palette;
    palette.m_set = std::make_unique<SmallColorSet<256>>();
    if (!indices) {
        palette.m_set->Collect(bitmap);
        if (palette.m_set->overflow)
            return std::nullopt;
        return palette;
    }
    SmallColorSet<256>& set = *palette.m_set;
    if (!IndexPixels(bitmap.Data(), indices, bitmap.PixelCount(),
                     [&set](Color c) { return set.Add(c); }))
        return std::nullopt;
    return palette;
}

ExactPalette::ExactPalette() = default;
ExactPalette::ExactPalette(ExactPalette&&) noexcept = default;
ExactPalette& ExactPalette::operator=(ExactPalette&&) noexcept = default;
ExactPalette::~ExactPalette() = default;

std::span<const Color> ExactPalette::Colors() const {
    return {m_set->colors, m_set->count};
}

void ExactPalette::IndexRow(const Color* src, std::uint8_t* dst, int w) const {
    IndexPixels(src, dst, static_cast<std::size_t>(w), [this](Color c) { return m_set->Find(c); });
}

const std::array<Color, 256>& ColorTable::Default() {
    static const std::array<Color, 256> table = MakeDefaultTable();
    return table;
}

ColorTable::ColorTable(ColorTable&&) noexcept = default;
ColorTable& ColorTable::operator=(ColorTable&&) noexcept = default;
ColorTable::~ColorTable() = default;

ColorTable::ColorTable(const gdi::Bitmap& bitmap) {
    m_entries = Default();
    auto set = std::make_unique<SmallColorSet<256>>();
    set->Collect(bitmap);
    if (set->overflow) {
        m_exact = false;
        return;
    }
    const std::uint8_t* lut = ReductionTable();
    std::array<bool, 256> used{};
    std::vector<Color> others;
    for (std::uint32_t i = 0; i < set->count; ++i) {
        const Color c = set->colors[i];
        const std::uint8_t k = lut[Index555(c)];
        if (m_entries[k] == c)
            used[k] = true;
        else
            others.push_back(c);
    }
    if (others.empty())
        return;

    // The cube's entries go first, so the 20 system colours at the ends stay where other
    // programs expect them for as long as there is room.
    m_default = false;
    int next = 0;
    const auto freeIndex = [&] {
        while (next < 256) {
            const int n = next++;
            const int index = n < 236 ? 10 + n : (n < 246 ? n - 236 : n);
            if (!used[index]) {
                used[index] = true;
                return index;
            }
        }
        return 0;
    };
    for (std::uint32_t i = 0; i < set->count; ++i) {
        const Color c = set->colors[i];
        std::uint8_t index = lut[Index555(c)];
        if (m_entries[index] != c) {
            // At most 256 colours, of which the used table entries are some: there is always a
            // free entry left.
            index = static_cast<std::uint8_t>(freeIndex());
            m_entries[index] = c;
        }
        // The set's own index of the colour gives way to its table index.
        set->IndexOf(c) = index;
    }
    m_set = std::move(set);
}

void ColorTable::IndexRow(const Color* src, std::uint8_t* dst, int w) const {
    if (m_default) {
        ReduceRow<false>(src, dst, w, ReductionTable());
        return;
    }
    IndexPixels(src, dst, static_cast<std::size_t>(w), [this](Color c) { return m_set->Find(c); });
}

bool ColorTable::IndexRowIfDefault(const Color* src, std::uint8_t* dst, int w) {
    return ReduceRow<true>(src, dst, w, ReductionTable(), Default().data());
}

std::uint32_t CountColors(const gdi::Bitmap& bitmap, std::uint32_t stopAbove) {
    auto set = std::make_unique<SmallColorSet<256>>();
    set->Collect(bitmap);
    if (!set->overflow)
        return set->count;
    if (stopAbove < 256)
        return stopAbove + 1;
    // Past 256 a bit for every colour: 2 MiB, and no hashing at all.
    std::vector<std::uint64_t> seen(std::size_t{1} << 18);
    std::uint32_t count = 0;
    ForEachColourChange(bitmap, [&](Color c) {
        std::uint64_t& word = seen[c >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (c & 63);
        if (!(word & bit)) {
            word |= bit;
            if (++count > stopAbove)
                return false;
        }
        return true;
    });
    return count;
}

}  // namespace zk
