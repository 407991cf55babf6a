// ExtraObject's out-of-line destructor anchors its virtual table here.
#include "markup/extra_object.h"

namespace markup {

ExtraObject::~ExtraObject() = default;

}  // namespace markup
