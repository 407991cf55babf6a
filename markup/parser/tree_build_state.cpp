// TreeBuildState: the frame stacks of inclusions and exclusions.
#include "markup/parser/tree_build_state.h"

#include <new>

#include "markup/faults.h"

namespace markup {

namespace {

void PushFrame(std::vector<std::uint32_t>& frames, std::uint32_t& count) {
    try {
        frames.push_back(count);
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
    count = 0;
}

void PopFrame(std::vector<std::uint32_t>& frames, IdList& ids) {
    const std::uint32_t count = frames.back();
    frames.pop_back();
    ids.Truncate(count < ids.Count() ? ids.Count() - count : 0);
}

// Takes the id out of both lists and appends it to `into`.
void Declare(std::uint32_t id, IdList& into, IdList& other) {
    into.Remove(id);
    other.Remove(id);
    into.Add(id);
}

}  // namespace

void TreeBuildState::AddInclusion(std::uint32_t id) {
    if (unique_ && inclusions_.Contains(id)) return;
    inclusions_.Add(id);
    ++inclusionCount_;
}

void TreeBuildState::AddExclusion(std::uint32_t id) {
    exclusions_.Add(id);
    ++exclusionCount_;
}

void TreeBuildState::PushInclusionFrame() {
    PushFrame(inclusionFrames_, inclusionCount_);
}

void TreeBuildState::PushExclusionFrame() {
    PushFrame(exclusionFrames_, exclusionCount_);
}

void TreeBuildState::PopInclusionFrame() {
    if (active_ && !inclusionFrames_.empty()) PopFrame(inclusionFrames_, inclusions_);
}

void TreeBuildState::PopExclusionFrame() {
    if (active_ && !exclusionFrames_.empty()) PopFrame(exclusionFrames_, exclusions_);
}

void TreeBuildState::Collect(IdList& inclusions, IdList& exclusions, std::uint32_t skipInnermost) const {
    inclusions.Clear();
    exclusions.Clear();
    if (unique_) return;
    // The builder pushes both stacks together; should they differ, the
    // shorter one bounds the walk.
    const std::size_t frames =
        inclusionFrames_.size() < exclusionFrames_.size() ? inclusionFrames_.size() : exclusionFrames_.size();
    const std::size_t last = skipInnermost < frames ? frames - skipInnermost : 0;
    std::uint32_t included = 0;
    std::uint32_t excluded = 0;
    for (std::size_t frame = 0; frame < last; ++frame) {
        for (std::uint32_t i = 0; i < inclusionFrames_[frame] && included < inclusions_.Count(); ++i) {
            Declare(inclusions_[included++], inclusions, exclusions);
        }
        for (std::uint32_t i = 0; i < exclusionFrames_[frame] && excluded < exclusions_.Count(); ++i) {
            Declare(exclusions_[excluded++], exclusions, inclusions);
        }
    }
}

}  // namespace markup
