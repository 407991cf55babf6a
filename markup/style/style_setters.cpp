// StyleProperties' setters: the only writers of the value record.
#include <cmath>

#include "markup/style/style_properties.h"
#include "markup/url_mapper.h"
#include "style_values.h"
#include "truncate_to_int32.h"

namespace markup::style {

namespace {

bool IsWordId(std::uint32_t id) {
    return id == 9 || id == 10 || id == 16 || id == 17 || id == 19 || id == 22 || id == 23 ||
           (id >= 34 && id <= 37) || (id >= 101 && id <= 104) || id == 112 || id == 114;
}

bool IsIntLengthId(std::uint32_t id) {
    return id == 6 || (id >= 24 && id <= 27) || (id >= 29 && id <= 32) || (id >= 46 && id <= 51) || id == 109 ||
           id == 110;
}

bool IsLengthId(std::uint32_t id) {
    return id == 7 || id == 62 || id == 63 || id == 68 || id == 71 || id == 73 || id == 77 || id == 78 ||
           id == 90 || id == 96 || id == 113 || id == 118;
}

bool KeepsMark(std::uint32_t id) {
    return id == 68 || id == 90 || id == 96;
}

// The transparent form of a colour word: all ones in its top byte.
constexpr std::uint32_t kTransparentByte = 0xFF000000u;

}  // namespace

void StyleProperties::SetKeyword(std::uint32_t id, std::uint32_t keyword) {
    if (id == 100) {
        SetListMarker(keyword);
        return;
    }
    const detail::KeywordTable* table = detail::FindKeywordTable(id);
    if (!table) return;
    if (id == 91) {
        // Keyword 305 only marks the overflow as inherited and keeps the
        // code; every other keyword clears that mark first.
        values_->overflowInherit = false;
        if (keyword == 305) {
            values_->overflowInherit = true;
            return;
        }
    }
    values_->codes[id] = detail::KeywordCode(*table, keyword);
}

void StyleProperties::SetFlag(std::uint32_t id, bool on) {
    if (id != 3 && id != 4 && id != 5) return;
    values_->flags[id] = on;
    font_ = nullptr;
}

void StyleProperties::SetWord(std::uint32_t id, std::uint32_t word) {
    if (IsWordId(id)) values_->words[id] = word;
}

void StyleProperties::SetTransparentBackground() {
    values_->words[10] |= kTransparentByte;
}

void StyleProperties::SetIntLength(std::uint32_t id, std::int32_t value, std::int32_t unit) {
    if (!IsIntLengthId(id)) return;
    values_->intLengths[id] = detail::IntLength{value, unit & 3};
    if (id == 6) {
        values_->fontSize = value;
        font_ = nullptr;
    }
}

void StyleProperties::SetFontSize(double value, std::int32_t unit) {
    if (!std::isfinite(value)) return;
    values_->intLengths[6] = detail::IntLength{detail::TruncateToInt32(value), unit & 3};
    values_->fontSize = value;
    font_ = nullptr;
}

void StyleProperties::SetLength(std::uint32_t id, double value, std::int32_t unit, bool mark) {
    if (!IsLengthId(id)) return;
    detail::Length& length = values_->lengths[id];
    length.value = value;
    length.unit = unit & 3;
    if (KeepsMark(id)) length.mark = mark;
}

void StyleProperties::SetMiterLimit(double value, std::int32_t unit) {
    values_->miterLimit = detail::Length{value, unit & 3, false};
}

void StyleProperties::SetFontFamily(const String& family) {
    values_->family = family;
    font_ = nullptr;
}

void StyleProperties::SetTextDecoration(std::uint32_t keyword) {
    bool* flags = values_->decoration;
    switch (keyword) {
        case 164:
            for (std::uint32_t i = 0; i < 4; ++i) flags[i] = false;
            break;
        case 314: flags[detail::kLineThrough] = true; break;
        case 344: flags[detail::kOverline] = true; break;
        case 386: flags[detail::kUnderline] = true; break;
        case 271: flags[detail::kBlink] = true; break;
        default: break;
    }
    font_ = nullptr;
}

void StyleProperties::SetFillColour(std::uint32_t colour, double alpha) {
    values_->fill.kind = kPaintKindColour;
    values_->fill.colour = colour;
    values_->fill.alpha = alpha;
    values_->fill.reference = StyleReference();
}

void StyleProperties::SetStrokeColour(std::uint32_t colour, double alpha) {
    values_->stroke.kind = kPaintKindColour;
    values_->stroke.colour = colour;
    values_->stroke.alpha = alpha;
    values_->stroke.reference = StyleReference();
}

namespace {

void PaintKeyword(detail::Paint& paint, std::uint32_t keyword) {
    if (keyword == 331) {
        paint.kind = kPaintKindNone;
    } else if (keyword == 281) {
        paint.kind = kPaintKindCurrentColour;
    } else {
        return;
    }
    paint.alpha = 1.0;
    paint.reference = StyleReference();
}

}  // namespace

void StyleProperties::SetFillKeyword(std::uint32_t keyword) {
    PaintKeyword(values_->fill, keyword);
}

void StyleProperties::SetStrokeKeyword(std::uint32_t keyword) {
    PaintKeyword(values_->stroke, keyword);
}

void StyleProperties::SetFillURL(const String* text) {
    values_->fill.kind = kPaintKindURL;
    values_->fill.reference = ResolveReference(text);
}

void StyleProperties::SetStrokeURL(const String* text) {
    values_->stroke.kind = kPaintKindURL;
    values_->stroke.reference = ResolveReference(text);
}

void StyleProperties::SetReference(std::uint32_t id, const String* text) {
    if (id == 100) {
        // The list image keeps only the element.
        const StyleReference reference = ResolveReference(text);
        values_->references.At<100>() = StyleReference{nullptr, reference.element};
        return;
    }
    if (id != 93 && id != 95 && id != 97) return;
    *values_->references.Find(id) = ResolveReference(text);
}

void StyleProperties::SetLoadedDocument(std::uint32_t id, const String* text) {
    if (id < 80 || id > 82) return;
    *values_->loaded.Find(id) = text && !text->IsEmpty() ? LoadURLResource(*text) : nullptr;
}

void StyleProperties::SetImage(std::uint32_t id, const String* text) {
    detail::StyleImageRef* slot = id == 11 ? &values_->images[0] : (id == 58 ? &values_->images[1] : nullptr);
    if (!slot) return;
    if (!text) {
        slot->Reset();
        return;
    }
    // The background resolves against the base URL's folder; the list
    // image through the pane's remembered mappings. A text that maps to no
    // file is asked for as written.
    String local;
    bool mapped = false;
    if (pane_ && id == 11) {
        String folder;
        pane_->GetLocalFolder(folder);
        const URLSpec base = pane_->GetBaseURL();
        mapped = URLMapper::Instance().Resolve(*text, base.HostRef(), folder, local, false) && !local.IsEmpty();
    } else if (pane_) {
        mapped = pane_->MapURLToLocalFile(*text, local);
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    int loaded = 0;
    // The cache's use is taken before the old image is given back, so that
    // setting the same picture again keeps it cached.
    slot->Reset(imageload::ImageHandler::Instance().GetImage(mapped ? local : *text, width, height, loaded, nullptr));
}

void StyleProperties::ClearDashes() {
    values_->dashes.clear();
}

void StyleProperties::AddDash(double value, std::int32_t unit) {
    values_->dashes.push_back(StyleDash{value, unit & 3});
}

void StyleProperties::SetEnableBackground(std::uint32_t keyword, const std::int32_t words[4]) {
    if (keyword != 330) {
        values_->blockGiven = false;
        return;
    }
    for (std::uint32_t i = 0; i < 4; ++i) values_->block[i] = words ? words[i] : 0;
    values_->blockGiven = true;
}

void StyleProperties::SetStopColor(std::uint32_t colour, bool mark, double alpha) {
    values_->stopColour = colour;
    values_->stopAlpha = alpha;
    values_->stopCurrentColour = false;
    values_->stopColourMark = mark;
}

void StyleProperties::SetListMarker(std::uint32_t keyword) {
    values_->listMarker = detail::KeywordCode(*detail::FindKeywordTable(100), keyword);
    values_->references.At<100>() = StyleReference();
}

void StyleProperties::SetPresentationalCode(std::uint32_t valueId) {
    switch (valueId) {
        case 21: values_->presentationalCode = 1; break;
        case 33: values_->presentationalCode = 2; break;
        case 152: values_->presentationalCode = 3; break;
        case 239: values_->presentationalCode = 4; break;
        default: values_->presentationalCode = 0; break;
    }
}

void StyleProperties::SetSecondString(const String& text) {
    values_->second = text;
}

void StyleProperties::SetDefaultOnlyWord(std::uint32_t word, bool mark) {
    values_->defaultOnlyWord = word;
    values_->defaultOnlyWordMark = mark;
}

void StyleProperties::SetDefaultOnlyLength(double value, std::int32_t unit, bool mark) {
    values_->defaultOnlyLength = detail::Length{value, unit & 3, mark};
}

void StyleProperties::SetAttachedObject(std::unique_ptr<ExtraObject> object) {
    values_->attached = std::move(object);
}

void StyleProperties::SetStopCurrentColour() {
    values_->stopCurrentColour = true;
    values_->stopColourMark = true;
}

void StyleProperties::SetColourAlpha(double alpha) {
    values_->colourAlpha = alpha;
}

}  // namespace markup::style
