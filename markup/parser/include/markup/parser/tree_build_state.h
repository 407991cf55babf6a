// TreeBuildState: the inclusions and exclusions that the open elements of a
// document being built declare, kept as two stacks of frames.
//
// Entering an element adds the ids its definition includes and excludes and
// then pushes one frame on each stack (ElementContentValidator::EnterElement);
// closing an element pops both frames, which takes its ids off again. The
// content checks read the stacks instead of walking the open elements.
#pragma once

#include <cstdint>
#include <vector>

#include "markup/parser/id_list.h"

namespace markup {

class TreeBuildState {
  public:
    // Set for XML documents: an id already included is not added again, and
    // Collect gathers nothing.
    bool Unique() const { return unique_ != 0; }
    void SetUnique(bool on) { unique_ = on ? 1 : 0; }
    // Frames are popped only while set; the tree builder sets it before each
    // placement, and the content check clears it when it accepts a node that
    // enters no frames.
    bool Active() const { return active_ != 0; }
    void SetActive(bool on) { active_ = on ? 1 : 0; }

    void AddInclusion(std::uint32_t id);
    void AddExclusion(std::uint32_t id);
    // Closes the ids added since the last push into a frame.
    void PushInclusionFrame();
    void PushExclusionFrame();
    void PushFrames() {
        PushInclusionFrame();
        PushExclusionFrame();
    }
    // Removes the innermost frame's ids; nothing unless active and a frame
    // exists.
    void PopInclusionFrame();
    void PopExclusionFrame();
    void PopFrames() {
        PopInclusionFrame();
        PopExclusionFrame();
    }

    // The lists the content checks use, from the outermost frame to the
    // innermost, leaving out the innermost skipInnermost frames: each frame
    // adds its inclusions, then its exclusions, and an id is first taken out
    // of both lists, so the innermost declaration of an id decides. Both
    // lists are emptied first; with Unique they stay empty.
    void Collect(IdList& inclusions, IdList& exclusions, std::uint32_t skipInnermost = 0) const;

    const IdList& Inclusions() const { return inclusions_; }
    const IdList& Exclusions() const { return exclusions_; }
    std::uint32_t InclusionFrameCount() const { return static_cast<std::uint32_t>(inclusionFrames_.size()); }
    std::uint32_t ExclusionFrameCount() const { return static_cast<std::uint32_t>(exclusionFrames_.size()); }

  private:
    std::uint32_t unique_ = 0;
    std::uint32_t active_ = 0;
    std::vector<std::uint32_t> exclusionFrames_;
    std::uint32_t exclusionCount_ = 0;
    IdList exclusions_;
    std::vector<std::uint32_t> inclusionFrames_;
    std::uint32_t inclusionCount_ = 0;
    IdList inclusions_;
};

}  // namespace markup
