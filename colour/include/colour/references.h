// Where colour references resolve: catalogue inks (model 1), the Hexachrome
// palette (model 14) and user inks (models 21, 22 and palette kind 16).
//
// ClrConvertColor asks the installed sources: the module's ink catalogue,
// Hexachrome palette and user-ink table unless others are installed. Every
// method writes its output record, and answers false only when the
// reference cannot be resolved at all.
#pragma once

#include <cstdint>

#include "colour/color_record.h"

namespace colour {

class InkCatalogueSource {
  public:
    virtual ~InkCatalogueSource() = default;
    // The ink's colour for a conversion to `target`: its definition or its
    // screen appearance, as the catalogue decides for that target.
    virtual bool InkColorByKind(int target, std::uint16_t number, ColorRecord* out) = 0;
    // The ink nearest to an RGB colour, as a model-1 reference at full tint.
    virtual bool NearestInk(ColorRecord* out, const ColorRecord& rgb) = 0;
};

class HexachromeSource {
  public:
    virtual ~HexachromeSource() = default;
    // The entry as a model-15 Hexachrome colour, tinted.
    virtual bool Entry(std::uint16_t index, std::uint16_t tint, ColorRecord* out) = 0;
    // The entry as an RGB colour, tinted towards white.
    virtual bool EntryToColor(std::uint16_t index, std::uint16_t tint, ColorRecord* out) = 0;
};

class UserInkSource {
  public:
    virtual ~UserInkSource() = default;
    // The user ink a model-22 record names: 1 found, 0 not found, -1 no table.
    virtual int FindUserInk(const ColorRecord& in, ColorRecord* out) = 0;
    // A model-21 record or one of palette kind 16 with its tint applied:
    // 1, or 0 when the record is not a tinted colour.
    virtual int UserInkToColor(const ColorRecord& in, ColorRecord* out) = 0;
};

// Install a source (null restores the module's own);
// each answers the one it replaces. A source must outlive its use.
InkCatalogueSource* ClrSetInkCatalogueSource(InkCatalogueSource* source);
HexachromeSource* ClrSetHexachromeSource(HexachromeSource* source);
UserInkSource* ClrSetUserInkSource(UserInkSource* source);

InkCatalogueSource& ClrInkCatalogue();
HexachromeSource& ClrHexachromePalette();
UserInkSource& ClrUserInks();

}  // namespace colour
