// Catalogue inks, user inks and the Hexachrome palette: the tables that
// colour references (models 1, 14, 21, 22 and palette kind 16) resolve
// through.
//
// The ink catalogue is the host's text file "lumavect.ink" in the data
// directory, read once on first use. One ink a line: "number R G B [name]",
// "P number C M Y K [name]" (CMYK in percent) or "S number C M Y K R G B
// [name]" (with its own screen appearance); ";" starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "colour/color_record.h"
#include "colour/support.h"

namespace colour {

inline constexpr int kInkCount = 1050;
inline constexpr const char* kInkFileName = "lumavect.ink";

// The fields of one ink line.
struct InkLine {
    char form = 0;          // 0 plain, 'P' or 'S'
    int fields = 0;         // the integers read, and the name when there is one
    int values[8] = {};     // the number first
    std::string name;
};
// Parses a line (already cut to 128 characters): false for a blank line or
// a comment.
bool ClrParseInkLine(std::string_view line, InkLine* out);

// 1 when the catalogue is available; the first call loads it.
int ClrLoadInkCatalogue();
// Builds the catalogue from the text of an ink file (replacing any loaded).
void ClrLoadInkCatalogueText(std::string_view text);
// The ink's definition (CMYK percent or RGB) or its appearance (RGB); black
// RGB when there is no such ink.
void ClrGetInkColor(int number, ColorRecord* out);
void ClrGetInkRGB(int number, ColorRecord* out);
// Whether a conversion to `target` takes the ink's definition.
bool ClrInkUsesDefinition(int target);
void ClrGetInkColorByKind(int target, int number, ColorRecord* out);
// The ink nearest to an RGB record (the lowest number wins a tie): model 1,
// tint 100.
void ClrNearestInk(ColorRecord* out, const ColorRecord* in);
// The name of an ink as stored: its text, or its number for a numeric name;
// empty when it has none.
std::string ClrInkName(int number);
// Forgets the catalogue, for a test.
void ClrForgetInkCatalogue();

// User inks: 44-byte entries, a colour record followed by the ink's name.
inline constexpr int kUserInkEntryBytes = 44;
inline constexpr int kUserInkNameBytes = 32;
inline constexpr std::uint16_t kUserInkFileMarker = 0xDCDC;

struct UserInkEntry {
    ColorRecord colour;
    std::string name;  // at most 31 characters are kept
};

// The module's table, as the host sees it.
struct UserInks {
    std::uint32_t reserved0 = 0;
    MemHandle* entries = nullptr;
    std::uint32_t reserved1 = 0;
    std::int32_t count = 0;
    std::string filePath;
    std::uint32_t changed[2] = {0, 0};
};

// Replaces the table with `entries`, saved to `path` when asked; marked
// changed. An empty list with an empty path removes the table.
void ClrSetUserInks(const std::vector<UserInkEntry>& entries, const std::string& path);
// Reads a user-ink file into the table: 1, or 0 (table unchanged) when the
// file is missing or damaged.
int ClrLoadUserInks(const std::string& path);
// Reads the bytes of a user-ink file: false when they are damaged.
bool ClrParseUserInkFile(std::string_view bytes, std::vector<UserInkEntry>* out);
// 1 when a table exists: saved first when it changed, then described in `copy`.
int ClrGetUserInks(UserInks* copy);
// Writes the table's file anew and clears its changed flags: 1, or 0 (after
// a message) when the file cannot be written.
int ClrSaveUserInks(UserInks* table);
// 1 found, 0 not found or bad arguments, -1 no table.
int ClrFindUserInk(const ColorRecord* in, ColorRecord* out);
// Applies the tint of a model-21 record or of palette kind 16: 1, or 0 when
// the record is not a tinted colour.
int ClrUserInkToColor(const ColorRecord* in, ColorRecord* out);
void ClrForgetUserInks();

// The Hexachrome palette: entries 0..2023 with six channels and a Lab value.
inline constexpr int kHexachromeEntries = 2024;
struct HexachromeEntry {
    int index;
    std::uint8_t channels[6];
    std::uint8_t lab[3];  // L 0..255, a and b signed
};
// Replaces the palette (an empty list removes it).
void ClrSetHexachromePalette(const std::vector<HexachromeEntry>& entries);
// The palette's block, or null when there is none.
const std::uint8_t* ClrLockHexachromePalette();
// The entry as model 15 (preset: model 15, byte 11 255): false without a palette.
bool ClrHexachromeEntry(int index, int tint, ColorRecord* out);
// The entry as RGB, tinted towards white (preset: black RGB): false without a palette.
bool ClrHexachromeEntryToColor(int index, int tint, ColorRecord* out);
void ClrClearToBlackRGB(ColorRecord* out);


}  // namespace colour
