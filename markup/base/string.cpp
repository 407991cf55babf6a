// String: construction, assignment, editing and parts.
#include "markup/string.h"

#include <cstring>
#include <limits>

#include "markup/heap.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

// Appends grow 33 bytes beyond the need and inserts 34, so tokenizers and
// writers that add a character at a time reallocate rarely.
constexpr std::uint64_t kAppendSlack = 33;
constexpr std::uint64_t kInsertSlack = 34;
// Texts taken from C strings get at least this many bytes.
constexpr std::uint32_t kMinTextCapacity = 16;

std::uint32_t CheckedCapacity(std::uint64_t capacity) {
    if (capacity > std::numeric_limits<std::uint32_t>::max()) RaiseMemoryFault();
    return static_cast<std::uint32_t>(capacity);
}

std::uint32_t TextLength(const char* text) {
    if (!text) return 0;
    const std::size_t n = std::strlen(text);
    if (n >= std::numeric_limits<std::uint32_t>::max()) RaiseMemoryFault();
    return static_cast<std::uint32_t>(n);
}

// memcpy and memmove want valid pointers even for zero bytes.
void CopyBytes(char* to, const char* from, std::size_t count) {
    if (count) std::memmove(to, from, count);
}

}  // namespace

char* String::FreshBuffer(std::uint64_t capacity, char (&scratch)[kInlineBytes]) {
    const std::uint32_t size = CheckedCapacity(capacity);
    if (size <= kInlineBytes) return scratch;
    return static_cast<char*>(HeapAllocateOrRaise(size));
}

void String::Adopt(char* fresh, std::uint32_t capacity, const char (&scratch)[kInlineBytes]) {
    if (capacity_ > kInlineBytes) HeapFree(heap_);
    if (fresh == scratch) {
        std::memcpy(inline_, scratch, kInlineBytes);
    } else {
        heap_ = fresh;
    }
    capacity_ = capacity;
}

String::String(const char* text) {
    SetText(text, TextLength(text), kMinTextCapacity);
}

String::String(std::uint32_t capacity) {
    char scratch[kInlineBytes] = {};
    const std::uint32_t size = capacity ? capacity : 1;
    char* fresh = FreshBuffer(size, scratch);
    fresh[0] = 0;
    Adopt(fresh, size, scratch);
}

String::String(const String& other) {
    SetText(other.Text(), other.length_, 0);
}

String::String(String&& other) noexcept : length_(other.length_), capacity_(other.capacity_) {
    // Inline bytes move with a copy; a heap buffer changes hands.
    std::memcpy(inline_, other.inline_, kInlineBytes);
    std::memset(other.inline_, 0, kInlineBytes);
    other.length_ = other.capacity_ = 0;
}

String::~String() {
    if (capacity_ > kInlineBytes) HeapFree(heap_);
}

void String::SetText(const char* bytes, std::uint32_t count, std::uint32_t minimumCapacity) {
    const std::uint64_t need = static_cast<std::uint64_t>(count) + 1;
    const std::uint32_t capacity = CheckedCapacity(need < minimumCapacity ? minimumCapacity : need);
    length_ = count;
    // A text held inline, or none, whose successor fits inline too is
    // replaced in place.
    if (capacity <= kInlineBytes && capacity_ <= kInlineBytes) {
        CopyBytes(inline_, bytes, count);  // bytes may lie in the old buffer
        inline_[count] = 0;
        capacity_ = capacity;
        return;
    }
    char scratch[kInlineBytes];
    char* fresh = FreshBuffer(capacity, scratch);
    CopyBytes(fresh, bytes, count);
    fresh[count] = 0;
    Adopt(fresh, capacity, scratch);
}

void String::Reallocate(std::uint64_t capacity, std::uint32_t keep) {
    char scratch[kInlineBytes];
    const std::uint32_t size = CheckedCapacity(capacity);
    char* fresh = FreshBuffer(size, scratch);
    CopyBytes(fresh, Data(), keep);
    fresh[keep] = 0;
    Adopt(fresh, size, scratch);
    length_ = keep;
}

String& String::operator=(const String& other) {
    if (this == &other) return *this;
    if (other.length_ == 0) {
        Empty();
    } else if (capacity_ > other.length_) {
        char* bytes = Data();
        CopyBytes(bytes, other.Text(), other.length_);
        length_ = other.length_;
        bytes[length_] = 0;
    } else {
        SetText(other.Text(), other.length_, 0);
    }
    return *this;
}

String& String::operator=(const char* text) {
    AssignBytes(text, TextLength(text));
    return *this;
}

void String::AssignBytes(const char* bytes, std::uint32_t count) {
    if (count == 0) {
        Empty();
    } else if (capacity_ <= count) {
        SetText(bytes, count, kMinTextCapacity);
    } else {
        char* data = Data();
        CopyBytes(data, bytes, count);
        length_ = count;
        data[count] = 0;
    }
}

String& String::operator=(char c) {
    // A copy of an empty String has a 1-byte buffer: too small for a character.
    if (capacity_ < 2) Reallocate(kMinTextCapacity, 0);
    char* data = Data();
    data[0] = c;
    data[1] = 0;
    length_ = 1;
    return *this;
}

String& String::operator+=(const char* text) {
    const std::uint32_t n = TextLength(text);
    if (n) Append(text, n);
    return *this;
}

String& String::operator+=(char c) {
    if (capacity_ == 0) {
        Reallocate(kMinTextCapacity, 0);
        inline_[0] = c;
        inline_[1] = 0;
        length_ = 1;
        return *this;
    }
    return Append(&c, 1);
}

String& String::Append(const char* bytes, std::uint32_t count) {
    if (!bytes) return *this;
    const std::uint64_t newLength = static_cast<std::uint64_t>(length_) + count;
    if (capacity_ > newLength) {
        CopyBytes(Data() + length_, bytes, count);
    } else {
        // Past the old capacity, and so on the heap: the slack alone is more
        // than the inline bytes.
        const std::uint32_t capacity = CheckedCapacity(newLength + kAppendSlack);
        char scratch[kInlineBytes];
        char* fresh = FreshBuffer(capacity, scratch);
        CopyBytes(fresh, Data(), length_);
        CopyBytes(fresh + length_, bytes, count);  // before the old buffer goes
        Adopt(fresh, capacity, scratch);
    }
    length_ = static_cast<std::uint32_t>(newLength);
    Data()[length_] = 0;
    return *this;
}

bool String::Insert(std::uint32_t index, char c) {
    if (index > length_) return false;
    const std::uint64_t capacity =
        capacity_ <= static_cast<std::uint64_t>(length_) + 1 ? length_ + kInsertSlack : capacity_;
    // Never the current buffer: the tail is copied after the new character.
    char scratch[kInlineBytes];
    char* fresh = FreshBuffer(capacity, scratch);
    const char* old = Data();
    CopyBytes(fresh, old, index);
    fresh[index] = c;
    CopyBytes(fresh + index + 1, old + index, length_ - index);
    Adopt(fresh, static_cast<std::uint32_t>(capacity), scratch);
    ++length_;
    Data()[length_] = 0;
    return true;
}

bool String::InsertText(std::uint32_t index, const char* text) {
    if (index >= length_) return false;
    const std::uint32_t n = TextLength(text);
    const std::uint64_t newLength = static_cast<std::uint64_t>(length_) + n;
    const std::uint64_t capacity = capacity_ <= newLength ? newLength + kAppendSlack : capacity_;
    char scratch[kInlineBytes];
    char* fresh = FreshBuffer(capacity, scratch);
    const char* old = Data();
    CopyBytes(fresh, old, index);
    CopyBytes(fresh + index, text, n);
    CopyBytes(fresh + index + n, old + index, length_ - index);
    Adopt(fresh, static_cast<std::uint32_t>(capacity), scratch);
    length_ = static_cast<std::uint32_t>(newLength);
    Data()[length_] = 0;
    return true;
}

bool String::Delete(std::uint32_t index, std::uint32_t count) {
    // Summed wide: a huge count must not wrap round and pass the check.
    if (static_cast<std::uint64_t>(index) + count > length_) return false;
    if (capacity_ != 0) {
        char* data = Data();
        CopyBytes(data + index, data + index + count, length_ - index - count + 1);
        length_ -= count;
    }
    return true;
}

void String::DeleteAt(std::uint32_t index, std::uint32_t count) {
    if (Delete(index, count) && capacity_ != 0) Data()[length_] = 0;
}

void String::Reserve(std::uint32_t capacity) {
    if (capacity > capacity_) Reallocate(capacity, length_);
}

void String::Empty() {
    // Without a buffer the inline bytes are zero already: no harm done.
    length_ = 0;
    Data()[0] = 0;
}

void String::Truncate(std::uint32_t count) {
    if (count == 0) {
        Empty();
    } else if (count < length_) {
        length_ = count;
        Data()[count] = 0;
    }
}

void String::TruncateAt(std::uint32_t index) {
    if (index < length_) {
        length_ = index;
        Data()[index] = 0;
    }
}

void String::KeepRight(std::uint32_t count) {
    if (count >= length_) return;
    char* data = Data();
    CopyBytes(data, data + length_ - count, count);
    length_ = count;
    data[count] = 0;
}

void String::KeepRightText(std::uint32_t count) {
    if (count >= length_) return;
    char* data = Data();
    const char* start = data + length_ - count;
    const std::uint32_t n = static_cast<std::uint32_t>(strnlen(start, count));
    CopyBytes(data, start, n);
    length_ = n;
    data[n] = 0;
}

void String::TrimRight() {
    char* data = Data();
    while (length_ > 0 && data[length_ - 1] == ' ') --length_;
    data[length_] = 0;
}

void String::TrimLeft() {
    const char* data = Text();
    std::uint32_t spaces = 0;
    while (spaces < length_ && data[spaces] == ' ') ++spaces;
    KeepRight(length_ - spaces);
}

const char* String::CharPtrAt(std::uint32_t index) const {
    if (index > length_ || capacity_ == 0) return kEmptyText;
    return Text() + index;
}

bool String::GetAt(std::uint32_t index, char& out) const {
    if (index >= length_) {
        out = 0;
        return false;
    }
    out = Text()[index];
    return true;
}

bool String::SetAt(std::uint32_t index, char c) {
    if (index >= length_) return false;
    Data()[index] = c;
    if (c == 0) length_ = index;
    return true;
}

bool String::GetBuffer(char*& out) {
    if (length_ == 0) return false;
    out = Data();
    return true;
}

bool String::GetFirstChar(String& out) const {
    if (length_ == 0) return false;
    out = Text()[0];
    return true;
}

String String::Mid(std::uint32_t start, std::uint32_t count) const {
    String part;
    if (start >= length_) return part;
    const std::uint32_t n = count < length_ - start ? count : length_ - start;
    // Parts answer empty rather than raise when the heap is exhausted.
    char* bytes = part.inline_;
    if (n >= kInlineBytes) {
        bytes = static_cast<char*>(HeapAllocate(static_cast<std::size_t>(n) + 1));
        if (!bytes) return part;
        part.heap_ = bytes;
    }
    CopyBytes(bytes, Text() + start, n);
    bytes[n] = 0;
    part.length_ = n;
    part.capacity_ = n + 1;
    return part;
}

String String::Mid(std::uint32_t start) const {
    if (start > length_) return String();
    return Mid(start, length_ - start);
}

String String::Left(std::uint32_t count) const {
    if (length_ == 0) return String();
    return Mid(0, count);
}

String String::Right(std::uint32_t count) const {
    if (count == 0) return String();
    // Unsigned on purpose: a count past the length wraps to a start past the
    // end and so gives the empty text.
    return Mid(length_ - count, count);
}

std::int32_t String::Find(char c) const {
    if (capacity_ == 0) return -1;
    const char* data = Text();
    const void* hit = std::memchr(data, c, static_cast<std::size_t>(length_) + 1);
    return hit ? static_cast<std::int32_t>(static_cast<const char*>(hit) - data) : -1;
}

std::int32_t String::Find(const String& text) const {
    if (capacity_ == 0 || text.capacity_ == 0) return -1;
    const char* data = Text();
    const char* hit = std::strstr(data, text.Text());
    return hit ? static_cast<std::int32_t>(hit - data) : -1;
}

std::int32_t String::ReverseFind(char c) const {
    if (capacity_ == 0) return -1;
    const char* data = Text();
    for (std::uint32_t i = length_ + 1; i-- > 0;) {
        if (data[i] == c) return static_cast<std::int32_t>(i);
    }
    return -1;
}

int String::CompareCase(const String& a, const String& b, bool caseFlag) {
    return caseFlag ? platform::lstrcmpA(a.Text(), b.Text()) : platform::lstrcmpiA(a.Text(), b.Text());
}

bool operator==(const String& a, const String& b) {
    return a.length_ == b.length_ && std::memcmp(a.Text(), b.Text(), a.length_) == 0;
}

bool operator==(const String& a, const char* b) {
    const char* t = b ? b : "";
    return std::strlen(t) == a.length_ && std::memcmp(a.Text(), t, a.length_) == 0;
}

}  // namespace markup
