// The drawing the stand-in host exports: what a drawing description file
// holds once read. Coordinates are host units (1/254000 inch, y up).
#ifndef SVGFILTER_HOST_DRAWING_H
#define SVGFILTER_HOST_DRAWING_H

#include <string>
#include <vector>

#include "svgfilter/filter_abi.h"

namespace host {

enum class ObjectKind {
    kGroup,
};

struct DrawingObject {
    ObjectKind kind = ObjectKind::kGroup;
    // Where the object stands in its description, as a JSON pointer, so that
    // a failure while exporting it can name it.
    std::string where;
    std::vector<DrawingObject> objects;  // a group's members, in drawing order
};

struct DrawingLayer {
    std::string name;
    std::string where;
    std::vector<DrawingObject> objects;
};

struct Drawing {
    int version = 0;
    svgf::HostRect page{};  // left, top, right, bottom; top is the larger y
    std::vector<DrawingLayer> layers;
};

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_H
