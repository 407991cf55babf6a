// The import's records written out for the call log.
#include "record_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cctype>
#include <cstring>

#include "json_text.h"

namespace host::import {
namespace {

const char* SetOrNull(const void* p) {
    return p != nullptr ? "set" : "null";
}

// Link texts are zero-terminated; none the module sends is longer.
constexpr size_t kMaxLinkText = 1 << 16;

}  // namespace

std::string LogNumber(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    if (std::fabs(value) < 1e-9) return "0";
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return error == std::errc() ? std::string(buffer, end) : "?";
}

std::string LogHex(uint32_t value) {
    char buffer[16];
    buffer[0] = '0';
    buffer[1] = 'x';
    const auto [end, error] = std::to_chars(buffer + 2, buffer + sizeof buffer, value, 16);
    (void)error;
    std::string out(buffer, end);
    std::transform(out.begin() + 2, out.end(), out.begin() + 2, [](char c) { return std::toupper(c); });
    return out;
}

std::string LogText(const uint16_t* text, size_t count) {
    if (text == nullptr) return "null";
    return JsonString(Utf16ToUtf8(text, count));
}

std::string LogLatin1(const char* text) {
    return text == nullptr ? "null" : JsonString(Latin1ToUtf8(text));
}

std::string LogPoint(svgf::HostPoint p) {
    return "(" + Int(p.x) + "," + Int(p.y) + ")";
}

std::string LogPoints(const svgf::HostPoint* points, size_t count) {
    if (points == nullptr) return "null";
    std::string out = "[";
    for (size_t i = 0; i < count; ++i) out += (i == 0 ? "" : " ") + LogPoint(points[i]);
    return out + "]";
}

std::string LogKinds(const uint8_t* kinds, size_t count) {
    if (kinds == nullptr) return "null";
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "[";
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) out += ' ';
        out += kHex[kinds[i] >> 4];
        out += kHex[kinds[i] & 15];
    }
    return out + "]";
}

std::string LogBox(const svgf::HostRect* box) {
    if (box == nullptr) return "null";
    return "{left=" + Int(box->left) + " top=" + Int(box->top) + " right=" + Int(box->right) +
           " bottom=" + Int(box->bottom) + "}";
}

std::string LogMatrix(const svgf::HostMatrix* m) {
    if (m == nullptr) return "null";
    std::string out = "[";
    for (int i = 0; i < 6; ++i) out += (i == 0 ? "" : i == 3 ? "; " : " ") + LogNumber(m->m[i]);
    return out + "]";
}

std::string LogColour(const svgf::ColorRecord& c) {
    std::string out = "{model=" + Int(c.model) + " palette=" + Int(c.paletteKind);
    const uint8_t* ch = c.channels;
    if (c.model == svgf::kColorModelRgb) {
        static const char kHex[] = "0123456789ABCDEF";
        out += " rgb=#";
        for (const uint8_t v : {ch[6], ch[5], ch[4]}) {
            out += kHex[v >> 4];
            out += kHex[v & 15];
        }
        if (c.reserved3 != 0 || ch[0] != 0 || ch[1] != 0 || ch[2] != 0 || ch[3] != 0 || ch[7] != 0) {
            out += " extra=[" + Int(c.reserved3) + " " + Int(ch[0]) + " " + Int(ch[1]) + " " + Int(ch[2]) +
                   " " + Int(ch[3]) + " " + Int(ch[7]) + "]";
        }
    } else if (c.model == svgf::kColorModelGrey) {
        out += " grey=" + Int(ch[4] | (ch[5] << 8));
    } else {
        out += " bytes=[";
        for (int i = 0; i < 8; ++i) out += (i == 0 ? "" : " ") + Int(ch[i]);
        out += "]";
    }
    return out + "}";
}

svgf::HostFountain FountainOf(const svgf::HostFillRecord& fill) {
    svgf::HostFountain f;
    std::memcpy(&f, fill.body, sizeof f);
    return f;
}

svgf::HostPatternTileBlock PatternTileOf(const svgf::HostFillRecord& fill) {
    svgf::HostPatternTileBlock block;
    std::memcpy(&block, fill.body, sizeof block);
    return block;
}

std::string LogFill(const svgf::HostFillRecord* fill) {
    if (fill == nullptr) return "null";
    std::string out = "{kind=" + Int(fill->kind);
    if (fill->kind == svgf::kFillNone || fill->kind == svgf::kFillUniform) {
        svgf::ColorRecord colour;
        std::memcpy(&colour, fill->body, sizeof colour);
        out += " colour=" + LogColour(colour);
    } else if (fill->kind == svgf::kFillFountain) {
        const svgf::HostFountain f = FountainOf(*fill);
        out += " type=" + Int(f.subKind) + " pad=" + Int(f.edgePad) + " angle=" + Int(f.angle) + " centre=(" +
               Int(f.centreX) + "," + Int(f.centreY) + ") word40=" + Int(f.value36) + " blend=" + Int(f.blend) +
               " word44=" + Int(f.value40) + " mid=" + Int(f.midPoint) + " stops=" + Int(f.stopCount) + ":[";
        const int count = std::clamp<int>(f.stopCount, 0, svgf::kFountainMaxStops);
        for (int i = 0; i < count; ++i) {
            out += (i == 0 ? "" : " ") + LogColour(f.stops[i].colour) + "@" + Int(f.stops[i].position);
        }
        out += "]";
    } else if (fill->kind == svgf::kFillPatternTile) {
        const svgf::HostPatternTileBlock p = PatternTileOf(*fill);
        const svgf::HostRect box = p.box;
        out += std::string(" tile=") + (p.tile != 0 ? "set" : "null") + " width=" + Int(p.width) +
               " height=" + Int(p.height) + " words=[" + Int(p.word16[0]) + " " + Int(p.word16[1]) + " " +
               Int(p.word16[2]) + "] box=" + LogBox(&box);
    }
    return out + "}";
}

std::string LogOutline(const svgf::HostOutlineRecord* o) {
    if (o == nullptr) return "null";
    std::string out = "{kind=" + Int(o->kind) + " cap=" + Int(o->cap) + " join=" + Int(o->join) +
                      " width=" + Int(o->width) + " word12=" + Int(o->value12) + " word16=" + Int(o->word16) +
                      " transform=" + LogMatrix(&o->transform) + " colour=" + LogColour(o->colour);
    uint32_t word88;
    std::memcpy(&word88, reinterpret_cast<const uint8_t*>(o) + 88, sizeof word88);
    out += " word88=" + Int(word88);
    if (o->dashCount != 0) {
        out += " dashes=" + Int(o->dashCount) + ":[";
        const int count = std::clamp<int>(o->dashCount, 0, 11);
        for (int i = 0; i < count; ++i) out += (i == 0 ? "" : " ") + Int(o->dashes[i]);
        out += "]";
    }
    return out + " word124=" + Int(o->word124) + " word128=" + Int(o->word128) + "}";
}

std::string LogTransparency(const svgf::HostTransparencyRecord* t) {
    if (t == nullptr) return "null";
    return "{type=" + Int(t->type) + " fill=" + LogFill(t->fill) + " word12=" + Int(t->word12) +
           " box=" + LogBox(&t->box) + " words=[" + Int(t->boxWords[0]) + " " + Int(t->boxWords[1]) +
           "] fillKind=" + Int(t->fillKind) + " geometry=[" + Int(t->geometry[0]) + " " + Int(t->geometry[1]) +
           " " + Int(t->geometry[2]) + " " + Int(t->geometry[3]) + "] start=" + LogNumber(t->start) +
           " end=" + LogNumber(t->end) + "}";
}

std::string LogHyperlink(const svgf::HostHyperlinkRecord* link) {
    if (link == nullptr) return "null";
    const auto text = [](const uint16_t* t) { return LogText(t, WideLength(t, kMaxLinkText)); };
    const char* same = link->sameText == nullptr ? "null" : link->sameText == link->text ? "yes" : "no";
    return "{text=" + text(link->text) + " same=" + same + " words=[" + Int(link->word2) + " " +
           Int(link->word3) + " " + Int(link->word4) + "] second=" + text(link->secondText) + "}";
}

std::string LogAttributes(const svgf::HostAttributes* a) {
    if (a == nullptr) return "null";
    std::string out = "{fill=" + LogFill(a->fill) + " outline=" + LogOutline(a->outline) + " transparency=" +
                      LogTransparency(reinterpret_cast<const svgf::HostTransparencyRecord*>(a->transparency)) +
                      " hyperlink=" +
                      LogHyperlink(reinterpret_cast<const svgf::HostHyperlinkRecord*>(
                          a->further[svgf::kAttributesHyperlinkField]));
    // The pointers the import leaves null: named only when they are not.
    const int numbers[] = {4, 5, 0, 7, 8};
    for (int i = 0; i < 5; ++i) {
        if (i != static_cast<int>(svgf::kAttributesHyperlinkField) && a->further[i] != 0)
            out += " pointer" + Int(numbers[i]) + "=set";
    }
    return out + "}";
}

std::string LogClip(const svgf::HostClipRecord* clip) {
    if (clip == nullptr) return "null";
    const svgf::ClipRecord& c = clip->clip;
    if (c.kind == svgf::kClipRectangle) {
        return "{kind=3 top=" + Int(c.shape.rect[0]) + " left=" + Int(c.shape.rect[1]) +
               " bottom=" + Int(c.shape.rect[2]) + " right=" + Int(c.shape.rect[3]) +
               " word20=" + Int(clip->word20) + "}";
    }
    if (c.kind == svgf::kClipPath) {
        const auto& p = c.shape.path;
        return "{kind=4 count=" + Int(p.nodeCount) + " points=" + LogPoints(p.points, p.nodeCount) +
               " kinds=" + LogKinds(p.nodeTypes, p.nodeCount) + " word16=" + Int(p.unused) +
               " word20=" + Int(clip->word20) + "}";
    }
    uint32_t words[6];
    std::memcpy(words, clip, std::min(sizeof words, sizeof *clip));
    std::string out = "{kind=" + Int(c.kind) + " words=[";
    for (int i = 1; i < 6; ++i) out += (i == 1 ? "" : " ") + Int(words[i]);
    return out + "]}";
}

std::string LogFontRecord(const svgf::FontRecord* r) {
    if (r == nullptr) return "null";
    return "{first=" + Int(r->first) + " font=" + Int(r->fontId) + " style=" + LogHex(r->styleFlags) +
           " size=" + Int(r->size) + " rotation=" + Int(r->rotation) + "}";
}

std::string LogSubContext(const svgf::FilterContext* s) {
    if (s == nullptr) return "null";
    return "{size=" + Int(s->size) + " flags=" + LogHex(s->flags) + " word12=" + Int(s->subWord12) +
           " word180=" + Int(s->subWord180) + " file=" + LogLatin1(s->fileName) +
           " format=" + LogHex(s->formatCode) + " handle=" + LogHex(s->hostHandle) +
           " services=" + SetOrNull(s->services) + "}";
}

std::string LogImageBlock(const svgf::HostImageCallbackBlock* b) {
    if (b == nullptr) return "null";
    return std::string("{services=") + SetOrNull(b->services) + " result1=" + Int(b->result1) +
           " result2=" + Int(b->result2) + " callback=" + SetOrNull(reinterpret_cast<const void*>(b->callback)) +
           "}";
}

std::string LogCallback(svgf::HostCallbackFn callback, svgf::HostCallbackFn hostOwn) {
    return callback == nullptr ? "null" : callback == hostOwn ? "host" : "module";
}

std::string LogCallbackRecord(const svgf::HostCallbackRecord* r, svgf::HostCallbackFn hostOwn) {
    if (r == nullptr) return "null";
    return "{callback=" + LogCallback(r->callback, hostOwn) + " words=[" + Int(r->word[0]) + " " + Int(r->word[1]) +
           " " + Int(r->word[2]) + " " + Int(r->word[3]) + "]}";
}

}  // namespace host::import
