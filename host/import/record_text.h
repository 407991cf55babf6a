// The import's records as call-log text, every field written out.
#ifndef HOST_IMPORT_RECORD_TEXT_H
#define HOST_IMPORT_RECORD_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "svgfilter/import_abi.h"

namespace host::import {

// Ten significant digits; values within 1e-9 of zero are 0, so the noise of
// the last bits (which differs between builds) stays out of the log.
std::string LogNumber(double value);
std::string LogHex(uint32_t value);
std::string LogText(const uint16_t* text, size_t count);
std::string LogLatin1(const char* text);

std::string LogPoint(svgf::HostPoint p);
std::string LogPoints(const svgf::HostPoint* points, size_t count);
std::string LogKinds(const uint8_t* kinds, size_t count);
std::string LogBox(const svgf::HostRect* box);
std::string LogMatrix(const svgf::HostMatrix* m);
std::string LogColour(const svgf::ColorRecord& colour);

std::string LogFill(const svgf::HostFillRecord* fill);
std::string LogOutline(const svgf::HostOutlineRecord* outline);
std::string LogTransparency(const svgf::HostTransparencyRecord* transparency);
std::string LogHyperlink(const svgf::HostHyperlinkRecord* link);
std::string LogAttributes(const svgf::HostAttributes* attributes);
std::string LogClip(const svgf::HostClipRecord* clip);
std::string LogFontRecord(const svgf::FontRecord* record);
std::string LogSubContext(const svgf::FilterContext* sub);
std::string LogImageBlock(const svgf::HostImageCallbackBlock* block);

// A callback as the log names it: "null", "host" (the host's own) or
// "module" (any other).
std::string LogCallback(svgf::HostCallbackFn callback, svgf::HostCallbackFn hostOwn);
std::string LogCallbackRecord(const svgf::HostCallbackRecord* record, svgf::HostCallbackFn hostOwn);

// The fountain and pattern blocks of a fill record's body.
svgf::HostFountain FountainOf(const svgf::HostFillRecord& fill);
svgf::HostPatternTileBlock PatternTileOf(const svgf::HostFillRecord& fill);

}  // namespace host::import

#endif  // HOST_IMPORT_RECORD_TEXT_H
