// String: the engine's 8-bit text, a heap buffer with length and capacity.
//
// Text is bytes: no character set is assumed and nothing is converted. A
// String that never had a buffer reads as the empty text. Capacities follow
// fixed rules that callers rely on for speed: copies take exactly what they
// need, texts from C strings take at least 16 bytes, appends grow by 33 bytes
// beyond the need and inserts by 34 (or 33 for a text).
//
// A buffer of at most kInlineBytes lies in the String itself rather than on
// the heap: a parsed document holds millions of short names and values, and
// a heap block for each dominated parsing and freeing it. The capacities are
// those the rules give either way, and the capacity alone tells where the
// bytes lie (none, inline, heap): the inline bytes share their room with the
// heap pointer, so that a String takes 24 bytes.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "markup/return_codes.h"

namespace markup {

class InStream;
class OutStream;

class String {
  public:
    String() noexcept = default;
    String(const char* text);  // NOLINT: texts convert implicitly, as everywhere in the engine
    explicit String(std::uint32_t capacity);
    String(const String& other);
    String(String&& other) noexcept;
    ~String();

    String& operator=(const String& other);
    // No move assignment: assigning a temporary follows the same capacity
    // rules as assigning any String.
    String& operator=(const char* text);
    String& operator=(char c);

    // Appending, inserting, deleting.
    String& operator+=(const char* text);
    String& operator+=(const String& text) { return Append(text.Text(), text.Length()); }
    String& operator+=(char c);
    String& operator<<(const char* text) { return *this += text; }
    String& Append(const char* bytes, std::uint32_t count);
    // At least `capacity` bytes (the closing zero counted), the text kept:
    // a text grown by many appends reserves ahead of them, since an append
    // itself takes only 33 bytes beyond its need.
    void Reserve(std::uint32_t capacity);
    bool Insert(std::uint32_t index, char c);
    bool InsertText(std::uint32_t index, const char* text);
    bool Delete(std::uint32_t index, std::uint32_t count);
    void DeleteAt(std::uint32_t index, std::uint32_t count);
    void Empty();
    void Truncate(std::uint32_t count);
    void TruncateAt(std::uint32_t index);
    void KeepRight(std::uint32_t count);
    void KeepRightText(std::uint32_t count);
    void TrimRight();
    void TrimLeft();

    // Access and search.
    const char* Text() const { return capacity_ > kInlineBytes ? heap_ : inline_; }
    std::uint32_t Length() const { return length_; }
    std::uint32_t Capacity() const { return capacity_; }
    // The largest capacity held inline.
    static constexpr std::uint32_t kInlineBytes = 16;
    bool HasBuffer() const { return capacity_ != 0; }
    bool IsEmpty() const { return length_ == 0; }
    const char* CharPtrAt(std::uint32_t index) const;
    bool GetAt(std::uint32_t index, char& out) const;
    bool SetAt(std::uint32_t index, char c);
    bool GetBuffer(char*& out);
    bool GetFirstChar(String& out) const;
    std::int32_t Find(char c) const;
    std::int32_t Find(const String& text) const;
    std::int32_t ReverseFind(char c) const;

    // Parts, as new Strings; the source stays as it is.
    String Mid(std::uint32_t start, std::uint32_t count) const;
    String Mid(std::uint32_t start) const;
    String Left(std::uint32_t count) const;
    String Right(std::uint32_t count) const;

    // printf formatting in the C locale. True when the output was cut at the
    // scratch bound (format length + 200 per "%").
    bool Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool FormatV(const char* format, std::va_list args);

    // Loads a string resource by id; answers its length.
    std::uint32_t LoadString(unsigned id);

    // The serialised form: 32-bit little-endian length, then the bytes.
    ReturnCodeEnum Read(InStream& stream);
    ReturnCodeEnum Write(OutStream& stream) const;

    // The engine's name compare: with case (byte order) when caseFlag is
    // set, else without regard to case; negative, zero or positive.
    static int CompareCase(const String& a, const String& b, bool caseFlag);

    friend bool operator==(const String& a, const String& b);
    friend bool operator==(const String& a, const char* b);

  private:
    static constexpr char kEmptyText[1] = {0};

    // The longest text a serialised String can hold: a stream is at most
    // 0x7FFFFFFF bytes long and its length word takes four of them.
    static constexpr std::uint32_t kLongestStreamText = 0x7FFFFFFBu;

    ReturnCodeEnum ReadInPieces(InStream& stream, std::uint32_t length);

    // Replaces the buffer by a fresh one of `capacity` bytes holding the first
    // `keep` bytes of the old text; raises MemoryAllocationFault.
    void Reallocate(std::uint64_t capacity, std::uint32_t keep);
    void SetText(const char* bytes, std::uint32_t count, std::uint32_t minimumCapacity);
    // Assignment of a text by its byte count, with the capacity rules of
    // assigning a C string.
    void AssignBytes(const char* bytes, std::uint32_t count);

    // The bytes, where the capacity says they lie (the inline ones, zero,
    // when there is no buffer).
    char* Data() { return capacity_ > kInlineBytes ? heap_ : inline_; }
    // A fresh buffer of `capacity` bytes to be filled while the old text is
    // still readable: `scratch` when it fits inline, else the heap (raises
    // MemoryAllocationFault). Adopt makes it the String's buffer and gives
    // the old one back.
    char* FreshBuffer(std::uint64_t capacity, char (&scratch)[kInlineBytes]);
    void Adopt(char* fresh, std::uint32_t capacity, const char (&scratch)[kInlineBytes]);

    union {
        char* heap_;
        char inline_[kInlineBytes] = {};
    };
    std::uint32_t length_ = 0;
    std::uint32_t capacity_ = 0;
};

// A document holds several per node and attribute.
static_assert(sizeof(void*) != 8 || sizeof(String) == 24, "the String grew");

}  // namespace markup
