// Membership of an object (a document tree) in a container.
//
// A Containable knows its container; the container keeps its members in a
// list. Notices of the MemorySource side travel from a member to its
// container; a member that has no container, or whose container sent the
// notice, destroys itself.
#pragma once

#include <cstdint>

#include "markup/containers.h"

namespace markup {

class MemorySource {
  public:
    virtual ~MemorySource();
    // Both notices set the flag on a plain source.
    virtual void SourceReleased(MemorySource* source);
    virtual void SourceDiscarded(MemorySource* source);
    bool Notified() const { return flag_ != 0; }

  private:
    std::uint8_t flag_ = 0;
};

class Container;

class Containable : public virtual MemorySource {
  public:
    explicit Containable(std::uint32_t key) : key_(key) {}
    ~Containable() override;
    Containable(const Containable&) = delete;
    Containable& operator=(const Containable&) = delete;

    // This object when the key is its own, else null.
    virtual Containable* MatchKey(std::uint32_t key);
    virtual bool HasKey(std::uint32_t key) const;

    // A member passes the notice to its container unless the container sent
    // it; otherwise it deletes itself (it must live on the heap).
    void SourceReleased(MemorySource* source) override;
    void SourceDiscarded(MemorySource* source) override;

    std::uint32_t Key() const { return key_; }
    Container* Owner() const { return container_; }

  private:
    friend class Container;
    std::uint32_t key_;
    Container* container_ = nullptr;
};

class Container : public virtual MemorySource {
  public:
    Container() = default;
    // Members stay alive; they only forget the container.
    ~Container() override;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // Takes the member from any container it belonged to before.
    void Insert(Containable* member);
    // By identity; clears the member's container.
    void Remove(Containable* member);
    Containable* Find(std::uint32_t key);
    std::uint32_t Count() const { return members_.Count(); }

  private:
    List<Containable> members_;
};

}  // namespace markup
