// A canvas that writes one line per call, with the object's geometry and
// style in whole host units, for the reader's tests. Pattern fills have
// their tile drawn through the reader as the host would, nested at most
// `tileDepth` deep.
#pragma once

#include <string>
#include <vector>

#include "svgimport/canvas.h"
#include "svgimport/reader.h"

namespace reader_test {

class RecordingCanvas : public SVG::WCanvas {
  public:
    explicit RecordingCanvas(SVG::WParser* reader = nullptr) : reader_(reader) {}

    int32_t DrawEllipse(const SVG::WEllipse& e) override;
    int32_t DrawImage(const SVG::WImage& i) override;
    int32_t DrawText(const SVG::WText& t) override;
    int32_t DrawPath(const SVG::WPath& p) override;
    int32_t DrawRectangle(const SVG::WRectangle& r) override;
    int32_t AcceptString(const SVG::WString&) override { return 1; }
    int32_t DeclineString(const SVG::WString&) override { return 0; }
    int32_t BeginGroup(const SVG::WGroup& g) override;
    int32_t EndGroup(const SVG::WGroup& g) override;
    int32_t BeginAnchor(const SVG::WAnchor& a) override;
    int32_t EndAnchor() override;

    std::vector<std::string> lines;
    // The lines that start with `prefix` (after the indent).
    std::vector<std::string> Lines(const std::string& prefix) const;
    std::string Text() const;

    int tileDepth = 2;
    bool refuseGroups = false;
    int open = 0;  // groups and anchors begun and not ended

  private:
    void Add(std::string line);
    std::string Style(const SVG::WPresentation& style);
    std::string Paint(const SVG::WFill& fill);

    SVG::WParser* reader_;
    int depth_ = 0;
    int tiles_ = 0;
};

// A path's points as "kind:x,y" words, kinds in hexadecimal.
std::string PointsOf(const SVG::WPath& path);

}  // namespace reader_test
