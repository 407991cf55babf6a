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

char* String::BufferFor(std::uint64_t capacity) {
    const std::uint32_t size = CheckedCapacity(capacity);
    if (size <= kInlineBytes && buffer_ != inline_) return inline_;
    return static_cast<char*>(HeapAllocateOrRaise(size));
}

void String::Release(char* buffer) const {
    if (buffer != inline_) HeapFree(buffer);
}

String::String(const char* text) {
    SetText(text, TextLength(text), kMinTextCapacity);
}

String::String(std::uint32_t capacity) {
    buffer_ = BufferFor(capacity ? capacity : 1);
    capacity_ = capacity ? capacity : 1;
    buffer_[0] = 0;
}

String::String(const String& other) {
    SetText(other.buffer_, other.length_, 0);
}

String::String(String&& other) noexcept
    : buffer_(other.buffer_), length_(other.length_), capacity_(other.capacity_) {
    // Inline bytes move with a copy; a heap buffer changes hands.
    if (other.buffer_ == other.inline_) {
        std::memcpy(inline_, other.inline_, kInlineBytes);
        buffer_ = inline_;
    }
    other.buffer_ = nullptr;
    other.length_ = other.capacity_ = 0;
}

String::~String() {
    Release(buffer_);
}

void String::SetText(const char* bytes, std::uint32_t count, std::uint32_t minimumCapacity) {
    const std::uint64_t need = static_cast<std::uint64_t>(count) + 1;
    const std::uint32_t capacity = CheckedCapacity(need < minimumCapacity ? minimumCapacity : need);
    // An inline text whose successor fits inline too is replaced in place.
    char* fresh = buffer_ == inline_ && capacity <= kInlineBytes ? inline_ : BufferFor(capacity);
    CopyBytes(fresh, bytes, count);  // bytes may lie in the old buffer
    fresh[count] = 0;
    if (fresh != buffer_) Release(buffer_);
    buffer_ = fresh;
    length_ = count;
    capacity_ = capacity;
}

void String::Reallocate(std::uint64_t capacity, std::uint32_t keep) {
    const std::uint32_t size = CheckedCapacity(capacity);
    char* fresh = buffer_ == inline_ && size <= kInlineBytes ? inline_ : BufferFor(size);
    CopyBytes(fresh, buffer_, keep);
    fresh[keep] = 0;
    if (fresh != buffer_) Release(buffer_);
    buffer_ = fresh;
    capacity_ = size;
    length_ = keep;
}

String& String::operator=(const String& other) {
    if (this == &other) return *this;
    if (other.length_ == 0) {
        Empty();
    } else if (capacity_ > other.length_) {
        CopyBytes(buffer_, other.buffer_, other.length_);
        length_ = other.length_;
        buffer_[length_] = 0;
    } else {
        SetText(other.buffer_, other.length_, 0);
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
        CopyBytes(buffer_, bytes, count);
        length_ = count;
        buffer_[count] = 0;
    }
}

String& String::operator=(char c) {
    // A copy of an empty String has a 1-byte buffer: too small for a character.
    if (!buffer_ || capacity_ < 2) Reallocate(kMinTextCapacity, 0);
    buffer_[0] = c;
    buffer_[1] = 0;
    length_ = 1;
    return *this;
}

String& String::operator+=(const char* text) {
    const std::uint32_t n = TextLength(text);
    if (n) Append(text, n);
    return *this;
}

String& String::operator+=(char c) {
    if (!buffer_) {
        Reallocate(kMinTextCapacity, 0);
        buffer_[0] = c;
        buffer_[1] = 0;
        length_ = 1;
        return *this;
    }
    return Append(&c, 1);
}

String& String::Append(const char* bytes, std::uint32_t count) {
    if (!bytes) return *this;
    const std::uint64_t newLength = static_cast<std::uint64_t>(length_) + count;
    if (capacity_ > newLength) {
        CopyBytes(buffer_ + length_, bytes, count);
    } else {
        const std::uint32_t capacity = CheckedCapacity(newLength + kAppendSlack);
        char* fresh = BufferFor(capacity);
        CopyBytes(fresh, buffer_, length_);
        CopyBytes(fresh + length_, bytes, count);  // before the old buffer goes
        Release(buffer_);
        buffer_ = fresh;
        capacity_ = capacity;
    }
    length_ = static_cast<std::uint32_t>(newLength);
    buffer_[length_] = 0;
    return *this;
}

bool String::Insert(std::uint32_t index, char c) {
    if (index > length_) return false;
    const std::uint64_t capacity =
        capacity_ <= static_cast<std::uint64_t>(length_) + 1 ? length_ + kInsertSlack : capacity_;
    // Never the current buffer: the tail is copied after the new character.
    char* fresh = BufferFor(capacity);
    CopyBytes(fresh, buffer_, index);
    fresh[index] = c;
    CopyBytes(fresh + index + 1, buffer_ + (buffer_ ? index : 0), length_ - index);
    Release(buffer_);
    buffer_ = fresh;
    capacity_ = static_cast<std::uint32_t>(capacity);
    ++length_;
    buffer_[length_] = 0;
    return true;
}

bool String::InsertText(std::uint32_t index, const char* text) {
    if (index >= length_) return false;
    const std::uint32_t n = TextLength(text);
    const std::uint64_t newLength = static_cast<std::uint64_t>(length_) + n;
    const std::uint64_t capacity = capacity_ <= newLength ? newLength + kAppendSlack : capacity_;
    char* fresh = BufferFor(capacity);
    CopyBytes(fresh, buffer_, index);
    CopyBytes(fresh + index, text, n);
    CopyBytes(fresh + index + n, buffer_ + index, length_ - index);
    Release(buffer_);
    buffer_ = fresh;
    capacity_ = static_cast<std::uint32_t>(capacity);
    length_ = static_cast<std::uint32_t>(newLength);
    buffer_[length_] = 0;
    return true;
}

bool String::Delete(std::uint32_t index, std::uint32_t count) {
    // Summed wide: a huge count must not wrap round and pass the check.
    if (static_cast<std::uint64_t>(index) + count > length_) return false;
    if (buffer_) {
        CopyBytes(buffer_ + index, buffer_ + index + count, length_ - index - count + 1);
        length_ -= count;
    }
    return true;
}

void String::DeleteAt(std::uint32_t index, std::uint32_t count) {
    if (Delete(index, count) && buffer_) buffer_[length_] = 0;
}

void String::Reserve(std::uint32_t capacity) {
    if (capacity > capacity_) Reallocate(capacity, length_);
}

void String::Empty() {
    length_ = 0;
    if (buffer_) buffer_[0] = 0;
}

void String::Truncate(std::uint32_t count) {
    if (count == 0) {
        Empty();
    } else if (count < length_) {
        length_ = count;
        buffer_[count] = 0;
    }
}

void String::TruncateAt(std::uint32_t index) {
    if (index < length_) {
        length_ = index;
        buffer_[index] = 0;
    }
}

void String::KeepRight(std::uint32_t count) {
    if (count >= length_) return;
    CopyBytes(buffer_, buffer_ + length_ - count, count);
    length_ = count;
    buffer_[count] = 0;
}

void String::KeepRightText(std::uint32_t count) {
    if (count >= length_) return;
    const char* start = buffer_ + length_ - count;
    const std::uint32_t n = static_cast<std::uint32_t>(strnlen(start, count));
    CopyBytes(buffer_, start, n);
    length_ = n;
    buffer_[n] = 0;
}

void String::TrimRight() {
    while (length_ > 0 && buffer_[length_ - 1] == ' ') --length_;
    if (buffer_) buffer_[length_] = 0;
}

void String::TrimLeft() {
    std::uint32_t spaces = 0;
    while (spaces < length_ && buffer_[spaces] == ' ') ++spaces;
    KeepRight(length_ - spaces);
}

const char* String::CharPtrAt(std::uint32_t index) const {
    if (index > length_ || !buffer_) return kEmptyText;
    return buffer_ + index;
}

bool String::GetAt(std::uint32_t index, char& out) const {
    if (index >= length_) {
        out = 0;
        return false;
    }
    out = buffer_[index];
    return true;
}

bool String::SetAt(std::uint32_t index, char c) {
    if (index >= length_) return false;
    buffer_[index] = c;
    if (c == 0) length_ = index;
    return true;
}

bool String::GetBuffer(char*& out) {
    if (length_ == 0) return false;
    out = buffer_;
    return true;
}

bool String::GetFirstChar(String& out) const {
    if (length_ == 0) return false;
    out = buffer_[0];
    return true;
}

String String::Mid(std::uint32_t start, std::uint32_t count) const {
    String part;
    if (start >= length_) return part;
    const std::uint32_t n = count < length_ - start ? count : length_ - start;
    // Parts answer empty rather than raise when the heap is exhausted.
    part.buffer_ =
        n < kInlineBytes ? part.inline_ : static_cast<char*>(HeapAllocate(static_cast<std::size_t>(n) + 1));
    if (!part.buffer_) return part;
    CopyBytes(part.buffer_, buffer_ + start, n);
    part.buffer_[n] = 0;
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
    if (!buffer_) return -1;
    const void* hit = std::memchr(buffer_, c, static_cast<std::size_t>(length_) + 1);
    return hit ? static_cast<std::int32_t>(static_cast<const char*>(hit) - buffer_) : -1;
}

std::int32_t String::Find(const String& text) const {
    if (!buffer_ || !text.buffer_) return -1;
    const char* hit = std::strstr(buffer_, text.buffer_);
    return hit ? static_cast<std::int32_t>(hit - buffer_) : -1;
}

std::int32_t String::ReverseFind(char c) const {
    if (!buffer_) return -1;
    for (std::uint32_t i = length_ + 1; i-- > 0;) {
        if (buffer_[i] == c) return static_cast<std::int32_t>(i);
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
