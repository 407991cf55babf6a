// Small services of the colour module: the module its resource strings come
// from, error boxes, and movable-memory handles for ink, user-ink and
// palette blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/resources.h"

namespace colour {

// Resource strings of the host that the colour module shows.
inline constexpr std::uint32_t kStrColourManagementWarning = 14816;
inline constexpr std::uint32_t kStrUserInkFileTitle = 14385;
inline constexpr std::uint32_t kStrConfigErrorTitle = 20648;
inline constexpr std::uint32_t kStrConfigErrorFormat = 20775;

// The module resource strings are looked up in first: the override when one
// is set, else none (the strings then come from the host's table).
const platform::ResourceModule* GetResourceModule();
// Sets the override (null clears it); answers the one it replaces.
const platform::ResourceModule* SetResourceModule(const platform::ResourceModule* module);

// String `id` of the resource module, else of the host's string chain; at
// most `maxChars` characters; empty when neither has it.
std::string LoadResString(std::uint32_t id, int maxChars = 255);

// Replaces each "%s" of `format` by the next argument and "%%" by "%"; any
// other "%" is kept as it stands, so a format from outside cannot read
// arguments it was not given.
std::string FormatWithStrings(std::string_view format, std::initializer_list<std::string_view> args);

// A system-modal error box: the caption names the title (a default when
// null), the error code, the upper-cased stem of the source file name and
// the line; `flag` chooses one of two texts. Answers the box's result (1).
int ShowErrorBox(int code, const char* sourceFile, int line, const char* title, int flag);

// A task-modal warning naming a file: kind 1 a missing file, kind 2 a file
// that could not be read, kind 4 a file that could not be written; answers 1.
int ClrErrorBox(int kind, std::string_view fileName);

// A movable-memory block: its data and its size in bytes.
struct MemHandle {
    void* data;
    std::size_t size;
};

// A handle on a zero-filled block of `size` bytes; null when it cannot be had.
MemHandle* MemHandleAlloc(std::size_t size);
// Resizes the block, keeping its contents (new bytes are zero); null, with
// the handle as it was, for a null handle or when the memory cannot be had.
MemHandle* MemHandleRealloc(MemHandle* handle, std::size_t size);
// The block's data; null for a null handle.
void* MemHandleLock(MemHandle* handle);
// Always 1.
int MemHandleUnlock(MemHandle* handle);
// Frees the block and the handle: 1, or 0 for a null handle.
int MemHandleFree(MemHandle* handle);

}  // namespace colour
