#include "gdi/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

namespace gdi {

namespace {

// A height of the stock font's cell when a LogFont asks for none.
constexpr int kDefaultCell = 16;
// No font dialog offers more; it keeps one glyph's image to a few megabytes.
constexpr double kMaxPixels = 1024.0;
// How many of fontconfig's ranked faces a font looks through for a character.
constexpr std::size_t kMaxCandidates = 64;

// A face fontconfig ranked for a LogFont, with the synthesis it needs for the asked style.
struct Candidate {
    std::string file;
    int index = 0;
    std::string family;
    bool embolden = false;
    bool oblique = false;
    FcCharSet* charset = nullptr;  // owned by the font system
};

using Candidates = std::vector<Candidate>;

// The FreeType library and the faces opened from it, and fontconfig's answers. The FreeType side
// lives until the process ends: fonts made from it may be held anywhere, also by static objects.
// Fontconfig's side is released at exit, where a font still asking for a fallback face gets its
// matched face instead.
struct FontSystem {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;  // our own, so that it can be released
    std::map<std::pair<std::string, int>, FT_Face> faces;
    std::map<std::tuple<std::string, int, bool>, std::shared_ptr<const Candidates>> resolved;

    FontSystem() {
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
        config = FcInitLoadConfigAndFonts();
    }

    // Fontconfig keeps parts of its configuration where a leak checker cannot see them; released
    // by hand, nothing of it is left behind.
    void ReleaseFontconfig() {
        for (FcCharSet* c : charsets)
            FcCharSetDestroy(c);
        charsets.clear();
        if (config)
            FcConfigDestroy(config);
        config = nullptr;
        released = true;
    }
    std::vector<FcCharSet*> charsets;
    bool released = false;

    // The opened face, or null when the file cannot be read or is not a scalable font.
    FT_Face Face(const std::string& file, int index) {
        const auto key = std::make_pair(file, index);
        const auto it = faces.find(key);
        if (it != faces.end())
            return it->second;
        FT_Face face = nullptr;
        if (library && FT_New_Face(library, file.c_str(), index, &face) == 0 &&
            !FT_IS_SCALABLE(face)) {
            FT_Done_Face(face);
            face = nullptr;
        }
        faces.emplace(key, face);
        return face;
    }

    std::shared_ptr<const Candidates> Resolve(const std::string& family, int weight, bool italic);
};

struct FontconfigRelease {
    FontSystem* system;
    ~FontconfigRelease() { system->ReleaseFontconfig(); }
};

FontSystem& System() {
    static FontSystem* system = new FontSystem;
    static FontconfigRelease release{system};
    return *system;
}

std::shared_ptr<const Candidates> FontSystem::Resolve(const std::string& family, int weight,
                                                      bool italic) {
    const auto key = std::make_tuple(family, weight, italic);
    const auto it = resolved.find(key);
    if (it != resolved.end())
        return it->second;

    auto list = std::make_shared<Candidates>();
    if (config) {
        FcPattern* pattern = FcPatternCreate();
        const std::string name = family.empty() ? std::string("sans-serif") : family;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet* set = FcFontSort(config, pattern, FcTrue, nullptr, &result);
        for (int i = 0; set && i < set->nfont && list->size() < kMaxCandidates; ++i) {
            FcPattern* font = FcFontRenderPrepare(config, pattern, set->fonts[i]);
            if (!font)
                continue;
            FcChar8* file = nullptr;
            FcChar8* fam = nullptr;
            FcCharSet* charset = nullptr;
            int index = 0;
            int fontWeight = FC_WEIGHT_REGULAR;
            int fontSlant = FC_SLANT_ROMAN;
            FcBool embolden = FcFalse;
            if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch &&
                FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch) {
                FcPatternGetInteger(font, FC_INDEX, 0, &index);
                FcPatternGetInteger(font, FC_WEIGHT, 0, &fontWeight);
                FcPatternGetInteger(font, FC_SLANT, 0, &fontSlant);
                FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
                Candidate c;
                c.file = reinterpret_cast<const char*>(file);
                c.index = index;
                if (FcPatternGetString(font, FC_FAMILY, 0, &fam) == FcResultMatch)
                    c.family = reinterpret_cast<const char*>(fam);
                // A face lighter than asked is made bold, one upright where italic was asked is
                // slanted: the user sees the style chosen even from a family without it.
                c.embolden =
                    embolden == FcTrue || (weight >= 600 && fontWeight < FC_WEIGHT_DEMIBOLD);
                c.oblique = italic && fontSlant == FC_SLANT_ROMAN;
                c.charset = FcCharSetCopy(charset);
                charsets.push_back(c.charset);
                list->push_back(std::move(c));
            }
            FcPatternDestroy(font);
        }
        if (set)
            FcFontSetDestroy(set);
        FcPatternDestroy(pattern);
    }
    resolved.emplace(key, list);
    return list;
}

// A face at one font's size. Faces are shared between fonts, each with a size of its own.
struct SizedFace {
    const Candidate* candidate = nullptr;
    FT_Face face = nullptr;
    FT_Size size = nullptr;
};

double Clamp(double pixels) {
    return std::clamp(pixels, 1.0, kMaxPixels);
}

}  // namespace

namespace detail {

struct FontImpl {
    std::shared_ptr<const Candidates> candidates;
    // One entry per candidate, opened when a character first needs it; index 0 is opened first.
    mutable std::vector<SizedFace> faces;
    mutable std::vector<bool> tried;
    int primary = -1;  // the first candidate that opens: the face of the metrics
    double ppemX = kDefaultCell;
    double ppemY = kDefaultCell;
    int ascent = 0;
    int descent = 0;
    int cell = 0;
    int leading = 0;
    bool bold = false;

    explicit FontImpl(const LogFont& lf);
    ~FontImpl() {
        for (SizedFace& f : faces)
            if (f.size)
                FT_Done_Size(f.size);
    }
    FontImpl(const FontImpl&) = delete;
    FontImpl& operator=(const FontImpl&) = delete;

    // The candidate opened and sized, or null when it cannot be.
    const SizedFace* Open(std::size_t i) const;
    // The face that draws c; null only when no face opens at all.
    const SizedFace* FaceFor(char32_t c) const;
    // Loads c's glyph into its face's slot, rendered when `render`; the slot or null.
    FT_GlyphSlot Load(char32_t c, bool render) const;
};

FontImpl::FontImpl(const LogFont& lf) {
    candidates = System().Resolve(lf.faceName, lf.weight, lf.italic);
    faces.resize(candidates->size());
    tried.resize(candidates->size(), false);

    const int h = lf.height == 0 ? kDefaultCell : lf.height;
    FT_Face face = nullptr;
    for (std::size_t i = 0; i < candidates->size(); ++i) {
        const Candidate& c = (*candidates)[i];
        face = System().Face(c.file, c.index);
        if (face) {
            primary = static_cast<int>(i);
            break;
        }
    }
    if (!face) {
        // No font on the machine: nothing is drawn, but the cell still has the asked height.
        cell = h > 0 ? static_cast<int>(Clamp(h)) : static_cast<int>(Clamp(-h));
        ascent = cell * 4 / 5;
        descent = cell - ascent;
        return;
    }

    // The cell is the face's ascent and descent as the platform measures them, from the OS/2
    // table's "Windows" metrics where the face has them.
    const double upem = face->units_per_EM > 0 ? face->units_per_EM : 2048.0;
    double winAscent = face->ascender;
    double winDescent = -face->descender;
    double avgWidth = 0;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
        }
        avgWidth = os2->xAvgCharWidth;
    }
    if (winAscent + winDescent <= 0) {
        winAscent = upem * 0.8;
        winDescent = upem * 0.2;
    }
    if (h > 0) {
        // A cell height: the em is what makes ascent plus descent that tall.
        cell = static_cast<int>(Clamp(h));
        ppemY = Clamp(cell * upem / (winAscent + winDescent));
        ascent = static_cast<int>(std::lround(winAscent * ppemY / upem));
        ascent = std::clamp(ascent, 0, cell);
        descent = cell - ascent;
    } else {
        ppemY = Clamp(-static_cast<double>(h));
        ascent = static_cast<int>(std::lround(winAscent * ppemY / upem));
        descent = static_cast<int>(std::lround(winDescent * ppemY / upem));
        cell = ascent + descent;
    }
    leading = std::max(0, cell - static_cast<int>(std::lround(ppemY)));
    ppemX = ppemY;
    if (lf.width != 0) {
        // The width asked is the average character width; the face's own average says how wide
        // an em must be for it.
        const double w = std::abs(static_cast<double>(lf.width));
        ppemX = Clamp(avgWidth > 0 ? w * upem / avgWidth : 2 * w);
    }
    bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
           (*candidates)[static_cast<std::size_t>(primary)].embolden;
}

const SizedFace* FontImpl::Open(std::size_t i) const {
    if (i >= faces.size())
        return nullptr;
    if (!tried[i]) {
        tried[i] = true;
        const Candidate& c = (*candidates)[i];
        FT_Face face = System().Face(c.file, c.index);
        FT_Size size = nullptr;
        if (face && FT_New_Size(face, &size) == 0) {
            FT_Activate_Size(size);
            if (FT_Set_Char_Size(face, std::lround(ppemX * 64), std::lround(ppemY * 64), 72, 72) ==
                0) {
                faces[i] = {&c, face, size};
            } else {
                FT_Done_Size(size);
            }
        }
    }
    return faces[i].face ? &faces[i] : nullptr;
}

const SizedFace* FontImpl::FaceFor(char32_t c) const {
    if (primary < 0)
        return nullptr;
    for (std::size_t i = static_cast<std::size_t>(primary); i < faces.size(); ++i) {
        const Candidate& cand = (*candidates)[i];
        if (System().released)
            break;
        if (!FcCharSetHasChar(cand.charset, static_cast<FcChar32>(c)))
            continue;
        const SizedFace* f = Open(i);
        if (f && FT_Get_Char_Index(f->face, c) != 0)
            return f;
    }
    return Open(static_cast<std::size_t>(primary));
}

FT_GlyphSlot FontImpl::Load(char32_t c, bool render) const {
    const SizedFace* f = FaceFor(c);
    if (!f)
        return nullptr;
    FT_Activate_Size(f->size);
    const FT_UInt index = FT_Get_Char_Index(f->face, c);
    // Hinted for monochrome output; embedded bitmaps may be grey, outlines never are.
    if (FT_Load_Glyph(f->face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0)
        return nullptr;
    FT_GlyphSlot slot = f->face->glyph;
    if (f->candidate->oblique)
        FT_GlyphSlot_Oblique(slot);
    if (f->candidate->embolden)
        FT_GlyphSlot_Embolden(slot);
    if (render && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return nullptr;
    return slot;
}

}  // namespace detail

LogFont SystemFont() {
    static const std::string family = [] {
        const auto list = System().Resolve(std::string(), kWeightBold, false);
        for (const Candidate& c : *list)
            if (System().Face(c.file, c.index))
                return c.family;
        return std::string("sans-serif");
    }();
    return LogFont{kDefaultCell, 0, kWeightBold, false, family};
}

std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1;
            cp = b0 & 0x1F;
            least = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2;
            cp = b0 & 0x0F;
            least = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3;
            cp = b0 & 0x07;
            least = 0x10000;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are malformed too.
        if (!ok || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

Font::Font() : Font(SystemFont()) {}
Font::Font(const LogFont& logFont) : m_logFont(logFont) {}

const detail::FontImpl& Font::Impl() const {
    if (!m_impl)
        m_impl = std::make_shared<const detail::FontImpl>(m_logFont);
    return *m_impl;
}

int Font::Ascent() const {
    return Impl().ascent;
}
int Font::Descent() const {
    return Impl().descent;
}
int Font::CellHeight() const {
    return Impl().cell;
}
int Font::InternalLeading() const {
    return Impl().leading;
}
bool Font::IsBold() const {
    return Impl().bold;
}

std::string Font::FamilyFor(char32_t c) const {
    const SizedFace* f = Impl().FaceFor(c);
    return f ? f->candidate->family : std::string();
}

void Font::Render(std::u32string_view text, const std::function<void(const Glyph&)>& draw) const {
    Glyph g;
    for (char32_t c : text) {
        g = Glyph{};
        if (FT_GlyphSlot slot = Impl().Load(c, true)) {
            const FT_Bitmap& bm = slot->bitmap;
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
            g.ink.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
            for (int y = 0; y < g.height; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                for (int x = 0; x < g.width; ++x) {
                    const bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO
                                        ? (row[x >> 3] & (0x80 >> (x & 7))) != 0
                                        : row[x] >= 128;
                    g.ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(g.width) +
                          static_cast<std::size_t>(x)] = on ? 1 : 0;
                }
            }
        }
        draw(g);
    }
}

int Font::TextWidth(std::u32string_view text) const {
    long width = 0;
    for (char32_t c : text)
        if (FT_GlyphSlot slot = Impl().Load(c, false))
            width += (slot->advance.x + 32) >> 6;
    return static_cast<int>(std::clamp<long>(width, 0, 1L << 30));
}

}  // namespace gdi
