// The field readers and writers of the .dic records.
//
// Every field is little-endian with no padding; a text is a 32-bit byte count
// and its bytes. Inside a record reader a failing status is thrown as a
// ReturnCodeEnum and caught at the top of the load (CatchStatus), so a record
// reads as a straight sequence of fields.
#pragma once

#include <cstdint>
#include <new>

#include "markup/faults.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup::detail {

// Each throws the stream's status when it fails.
std::uint32_t ReadWord(InStream& stream);
std::uint8_t ReadByte(InStream& stream);
void ReadText(InStream& stream, String& text);
// Bit 31 the sign, bits 0 to 30 the magnitude.
std::int32_t ReadSignMagnitude(InStream& stream);

void WriteWord(OutStream& stream, std::uint32_t word);
void WriteByte(OutStream& stream, std::uint8_t byte);
void WriteText(OutStream& stream, const String& text);
// The magnitude saturates at 0x7FFFFFFF (the one value the form cannot hold
// is -2147483648).
void WriteSignMagnitude(OutStream& stream, std::int32_t value);

// Throws when the status is not kErr_None.
void Require(ReturnCodeEnum status);

// A list of count records, each at least minBytes long, must fit in what the
// stream still holds (when its length is known): a hostile count fails here,
// before anything is built for it.
void CheckCount(InStream& stream, std::uint32_t count, std::uint32_t minBytes);

// Runs a reader or writer body and answers the status it threw, or
// kErr_None. The engine's allocation failure stays a MemoryAllocationFault.
template <class Body>
ReturnCodeEnum CatchStatus(Body&& body) {
    try {
        body();
    } catch (ReturnCodeEnum status) {
        return status;
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
    return kErr_None;
}

// A list count in memory as a 32-bit field.
std::uint32_t CountWord(std::size_t count);

}  // namespace markup::detail
