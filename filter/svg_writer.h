// The SVG document writer. Objects arrive one at a time in drawing order;
// the writer decides where each text goes: into the document, into the
// content of the open element, or into one of the parts that are joined in
// at the end (definitions, embedded fonts, the internal style sheet).
// Every open element's content is held in a temporary file of its own (a
// level) and copied into its parent when the element closes, so that
// definitions can still be put in front of the content that uses them.
#ifndef SVGFILTER_SVG_WRITER_H
#define SVGFILTER_SVG_WRITER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "output_files.h"
#include "platform/files.h"
#include "svg_object.h"
#include "svgfilter/filter_abi.h"

namespace svgf {

class SVGFont;

// The page the document shows.
struct SVGPage {
    SVGID id;
    HostRect pageRect{};    // host units: left, top, right, bottom
    HostRect scaledRect{};  // user units: left, top, right, bottom
};

// One output target and its flag: for a content level, a local defs element
// is open in the level below; for the style part, the style element is open.
struct SVGLevel {
    platform::File* file = nullptr;
    std::unique_ptr<platform::File> owned;  // empty for the document level
    uint32_t flag = 0;
};

class WSVGWriter {
  public:
    // Writes the prolog, DOCTYPE, creator comment and, for an external style
    // sheet, its processing instruction at once, and makes the parts. When
    // something cannot be made or written, the writer is failed: Failed()
    // says so and every operation answers 0.
    WSVGWriter(std::unique_ptr<platform::File> documentFile, const SVGExportOptions& options,
               std::string documentPath, platform::FileService& files = platform::SystemFiles());
    virtual ~WSVGWriter();
    WSVGWriter(const WSVGWriter&) = delete;
    WSVGWriter& operator=(const WSVGWriter&) = delete;

    // The svg start tag; opens the body level.
    virtual int BeginDocument(const SVGPage& page);
    // Joins the deferred parts and the body and ends the document. 1 only
    // when every byte of the document reached its file.
    virtual int EndDocument();
    virtual int BeginGroup(const SVGObject& object);
    virtual int EndGroup();
    virtual int BeginAnchor(const SVGObject& object);
    virtual int EndAnchor();
    // Names the object (its id) and opens it as a group.
    virtual int OpenNamedElement(SVGObject& object, const std::string& name);
    virtual int EndNamedElement();
    virtual int BeginMask(const SVGObject& object);
    virtual int EndMask();
    virtual int BeginPattern(const SVGObject& object);
    virtual int EndPattern();
    // The font start tag into the fonts part and its @font-face rule into the
    // style part (none with the style attribute placement).
    virtual int BeginFont(const SVGFont& font);
    virtual int EndFont();
    // The object's text into the current level.
    virtual int WriteElement(const SVGObject& object);
    // The object's text where it comes before the content that uses it: the
    // document's defs for a top-level object, else a local defs element.
    virtual int WriteDefinition(const SVGObject& object);
    virtual int WriteGlyph(const SVGObject& glyph);
    virtual int WriteStyleRule(const std::string& text);
    virtual int WriteDefinitionText(const std::string& text);
    virtual uint32_t GetSpare() const;
    virtual uint32_t GetCssMode() const;
    virtual void SetCssMode(uint32_t mode);
    // A mask or pattern: its start tag as a definition, then a level of its own
    // for its content while the current level waits.
    virtual int OpenDeferred(const SVGObject& object);
    virtual int CloseDeferred(const char* tag);
    virtual int OpenElement(const SVGObject& object);
    virtual int CloseElement(const std::string& text);
    virtual void SetSpare(uint32_t value);

    // Takes the next number of the definition counter ("id%d" of clip paths,
    // masks, gradients and patterns).
    int NextDefinitionNumber() { return definitionCounter_++; }
    int DefinitionCounter() const { return definitionCounter_; }
    int Depth() const { return depth_; }
    // What objects need to compose their text.
    SVGWriteState WriteState() const { return {depth_, definitionsDepth_, cssMode_}; }
    // True once anything could not be made or written.
    bool Failed() const { return failed_; }
    // Why the first file that failed did (none when the writer failed for
    // another reason, such as unbalanced markup).
    platform::FileCause FailureCause() const { return cause_; }
    // The external style sheet's path (empty unless the placement is 1).
    const std::string& StyleSheetPath() const { return styleSheetPath_; }
    // The external sheet is written under a temporary name beside its path;
    // this puts it in place once the whole export has succeeded (true when
    // there is no sheet). A writer destroyed first removes it, and a sheet
    // that was there before stays as it was.
    bool CommitStyleSheet();
    // Told the cause of the first file failure, when it happens.
    void SetFailureListener(std::function<void(platform::FileCause)> listener) {
        failureListener_ = std::move(listener);
    }

  private:
    struct Parked {
        std::unique_ptr<SVGLevel> level;
        bool topLevel = false;  // its start tag went to the definitions part
    };

    bool Fail(platform::FileCause cause = platform::FileCause::none);
    bool Write(SVGLevel& level, const std::string& text);
    bool Write(platform::File& file, const std::string& text);
    SVGLevel& Current() { return *levels_.back(); }
    SVGLevel& Below() { return *levels_[levels_.size() - 2]; }
    // A new content level at the head of the stack.
    bool PushLevel();
    // Removes the head level; its content (after the end of its local defs)
    // goes to the end of target.
    bool PopLevelInto(SVGLevel& target);
    bool PopLevel() { return PopLevelInto(Below()); }
    // Copies the whole part into the file and deletes the part.
    bool CopyPart(std::unique_ptr<platform::File>& part, platform::File& target);
    std::unique_ptr<SVGLevel> MakePart();
    bool Usable() const { return !failed_ && !ended_; }

    platform::FileService& files_;
    OutputFiles sheetFiles_;
    std::unique_ptr<platform::File> documentFile_;
    uint32_t cssMode_ = 0;
    uint32_t spare_ = 0;
    int depth_ = 0;
    int definitionsDepth_ = 2;
    int definitionCounter_ = 0;
    std::vector<std::unique_ptr<SVGLevel>> levels_;  // back: the current level; front: the document
    std::vector<Parked> parked_;                     // back: the most recently parked
    std::unique_ptr<SVGLevel> fontsPart_;
    std::unique_ptr<SVGLevel> stylePart_;
    std::unique_ptr<SVGLevel> definitionsPart_;
    bool fontsWritten_ = false;
    bool styleWritten_ = false;
    bool definitionsWritten_ = false;
    bool failed_ = false;
    platform::FileCause cause_ = platform::FileCause::none;
    std::function<void(platform::FileCause)> failureListener_;
    bool begun_ = false;
    bool ended_ = false;
    std::string styleSheetPath_;
};

// The external style sheet's path for a document path: the extension of the
// last path component replaced by ".css", or ".css" appended when it has none.
// A document path ending in ".css" gives itself, which the writer refuses.
std::string StyleSheetPathFor(const std::string& documentPath);

}  // namespace svgf

#endif  // SVGFILTER_SVG_WRITER_H
