// Containable, Container and the MemorySource notices between them.
#include "markup/containable.h"

namespace markup {

MemorySource::~MemorySource() = default;

void MemorySource::SourceReleased(MemorySource*) {
    flag_ = 1;
}

void MemorySource::SourceDiscarded(MemorySource*) {
    flag_ = 1;
}

Containable::~Containable() {
    if (container_) container_->Remove(this);
}

Containable* Containable::MatchKey(std::uint32_t key) {
    return key == key_ ? this : nullptr;
}

bool Containable::HasKey(std::uint32_t key) const {
    return key == key_;
}

void Containable::SourceReleased(MemorySource* source) {
    if (container_ && dynamic_cast<Container*>(source) != container_) {
        static_cast<MemorySource*>(container_)->SourceReleased(this);
    } else {
        delete this;
    }
}

void Containable::SourceDiscarded(MemorySource* source) {
    if (container_ && dynamic_cast<Container*>(source) != container_) {
        static_cast<MemorySource*>(container_)->SourceDiscarded(this);
    } else {
        delete this;
    }
}

Container::~Container() {
    while (Containable* member = members_.RemoveLast()) member->container_ = nullptr;
}

void Container::Insert(Containable* member) {
    if (!member || member->container_ == this) return;
    if (member->container_) member->container_->Remove(member);
    members_.Add(member);
    member->container_ = this;
}

void Container::Remove(Containable* member) {
    std::uint32_t index = 0;
    if (member && members_.IndexOf(member, index)) {
        members_.RemoveAt(index);
        member->container_ = nullptr;
    }
}

Containable* Container::Find(std::uint32_t key) {
    for (std::uint32_t i = 0; i < members_.Count(); ++i) {
        if (Containable* hit = members_.At(i)->MatchKey(key)) return hit;
    }
    return nullptr;
}

}  // namespace markup
