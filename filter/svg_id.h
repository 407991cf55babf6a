// Names of the export model: element ids ("id%d" or a given name) and the
// numbered class selectors ("fil%d", "str%d", "fnt%d").
#ifndef SVGFILTER_SVG_ID_H
#define SVGFILTER_SVG_ID_H

#include <string>

namespace svgf {

// A name that can be set from text or formatted from a number.
class SVGBASEID {
  public:
    virtual ~SVGBASEID();
    // A copy of the name.
    virtual std::string Name() const { return name_; }
    // Formats the name from a number, in the kind's own pattern.
    virtual void SetNumber(int number) = 0;
    // Sets the name from a text, unchanged.
    virtual void SetName(std::string name) { name_ = std::move(name); }

  protected:
    std::string name_;
};

// An element's id. An id never set is empty, and then no attribute is written.
class SVGID : public SVGBASEID {
  public:
    SVGID() = default;
    explicit SVGID(std::string name) { name_ = std::move(name); }
    void SetNumber(int number) override;
    // id="name" (the name XML-escaped), or nothing for an empty name.
    virtual std::string IdAttribute() const;
};

class SVGFillSelector : public SVGBASEID {
  public:
    explicit SVGFillSelector(int number) { SetNumber(number); }
    void SetNumber(int number) override;
};

class SVGOutlineSelector : public SVGBASEID {
  public:
    explicit SVGOutlineSelector(int number) { SetNumber(number); }
    void SetNumber(int number) override;
};

class SVGFontSelector : public SVGBASEID {
  public:
    explicit SVGFontSelector(int number) { SetNumber(number); }
    void SetNumber(int number) override;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_ID_H
