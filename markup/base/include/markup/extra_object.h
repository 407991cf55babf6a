// ExtraObject: an object that a tree node or a document tree owns on behalf
// of another engine.
//
// A node keeps the style engine's computed style in one; a document tree
// keeps the parser's diagnostics list in another. The owner only destroys
// it, through the virtual destructor, so neither owner depends on the engine
// that made it.
#pragma once

namespace markup {

class ExtraObject {
  public:
    ExtraObject() = default;
    virtual ~ExtraObject();
    ExtraObject(const ExtraObject&) = delete;
    ExtraObject& operator=(const ExtraObject&) = delete;
};

}  // namespace markup
