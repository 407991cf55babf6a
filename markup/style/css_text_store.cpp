// TextStore: texts copied into shared pieces.
#include "css_text_store.h"

#include <cstring>
#include <new>

#include "markup/heap.h"

namespace markup::style::detail {

namespace {

std::unique_ptr<char[]> NewBytes(std::size_t size) {
    char* bytes = new (std::nothrow) char[size];
    if (!bytes) RaiseMemoryFault();
    return std::unique_ptr<char[]>(bytes);
}

}  // namespace

const char* TextStore::Keep(std::string_view bytes) {
    const std::size_t size = bytes.size() ? bytes.size() : 1;
    char* at = nullptr;
    if (size > kPiece / 16) {
        // A long text takes a piece of its own size, and the current piece
        // keeps its room.
        std::unique_ptr<char[]> piece = NewBytes(size);
        at = piece.get();
        pieces_.push_back(std::move(piece));
    } else {
        if (size > room_) {
            // A small sheet takes a small first piece: 1 KB, doubled for
            // each piece after it up to the full size.
            const std::size_t step = pieces_.size() < 6 ? kPiece >> (6 - pieces_.size()) : kPiece;
            const std::size_t pieceSize = step < size ? size : step;
            std::unique_ptr<char[]> piece = NewBytes(pieceSize);
            char* start = piece.get();
            pieces_.push_back(std::move(piece));
            free_ = start;
            room_ = pieceSize;
        }
        at = free_;
        free_ += size;
        room_ -= size;
    }
    if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
    return at;
}

}  // namespace markup::style::detail
