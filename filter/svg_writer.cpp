#include "svg_writer.h"

#include "c_format.h"
#include "svg_font.h"
#include "xml_escape.h"

namespace svgf {
namespace {

constexpr char kProlog[] = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";
constexpr char kDoctype[] =
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" "
    "\"http://www.w3.org/TR/2000/03/WD-SVG-20000303/DTD/svg-20000303-stylable.dtd\">\r\n";
constexpr char kCreator[] = "<!-- Creator: Lumavecta -->\r\n";
constexpr char kTemporaryPrefix[] = "svg";
constexpr size_t kCopyChunk = 4096;

std::string BaseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string StyleSheetPathFor(const std::string& documentPath) {
    size_t start = documentPath.rfind('/');
    start = start == std::string::npos ? 0 : start + 1;
    size_t dot = documentPath.rfind('.');
    // A dot in a folder name, or one that only starts a hidden name, is no extension.
    if (dot == std::string::npos || dot <= start) return documentPath + ".css";
    return documentPath.substr(0, dot) + ".css";
}

WSVGWriter::WSVGWriter(std::unique_ptr<platform::File> documentFile, const SVGExportOptions& options,
                       std::string documentPath, platform::FileService& files)
    : files_(files), sheetFiles_(files), documentFile_(std::move(documentFile)) {
    auto document = std::make_unique<SVGLevel>();
    document->file = documentFile_.get();
    levels_.push_back(std::move(document));
    if (documentFile_ == nullptr) {
        Fail();
        return;
    }

    std::string header = std::string(kProlog) + kDoctype + kCreator;
    if (options.embedFonts != 0) {
        fontsPart_ = MakePart();
        if (!fontsPart_) return;
    }
    cssMode_ = options.cssPlacement;
    if (cssMode_ == kCssInternal) {
        stylePart_ = MakePart();
        if (!stylePart_) return;
    } else if (cssMode_ == kCssExternal) {
        // A document named like its style sheet (drawing.css) would write
        // both into one file, and one would lose the other.
        if (StyleSheetPathFor(documentPath) == documentPath) {
            Fail();
            return;
        }
        styleSheetPath_ = StyleSheetPathFor(documentPath);
        auto sheet = sheetFiles_.Create(styleSheetPath_);
        if (!sheet) {
            styleSheetPath_.clear();
            Fail(sheetFiles_.FailureCause());
            return;
        }
        stylePart_ = std::make_unique<SVGLevel>();
        stylePart_->file = sheet.get();
        stylePart_->owned = std::move(sheet);
        header += "<?xml-stylesheet href=\"" + EscapeXmlAttribute(BaseName(styleSheetPath_)) +
                  "\" type=\"text/css\"?>\r\n";
    }
    if (!Write(*documentFile_, header)) return;
    definitionsPart_ = MakePart();
}

WSVGWriter::~WSVGWriter() {
    // Temporary parts delete themselves with their file objects; an external
    // sheet not yet put in place goes with the sheet files.
    levels_.clear();
    parked_.clear();
    fontsPart_.reset();
    definitionsPart_.reset();
    stylePart_.reset();
}

bool WSVGWriter::CommitStyleSheet() {
    if (styleSheetPath_.empty()) return true;
    if (!ended_ || failed_) return false;
    stylePart_.reset();
    if (sheetFiles_.Commit()) return true;
    return Fail(sheetFiles_.FailureCause());
}

bool WSVGWriter::Fail(platform::FileCause cause) {
    const bool first = !failed_;
    failed_ = true;
    if (first) {
        cause_ = cause;
        if (cause != platform::FileCause::none && failureListener_) failureListener_(cause);
    }
    return false;
}

bool WSVGWriter::Write(platform::File& file, const std::string& text) {
    if (failed_) return false;
    if (!file.Write(text)) return Fail(file.FailureCause());
    return true;
}

bool WSVGWriter::Write(SVGLevel& level, const std::string& text) {
    return Write(*level.file, text);
}

std::unique_ptr<SVGLevel> WSVGWriter::MakePart() {
    auto file = files_.CreateTemporary(kTemporaryPrefix);
    if (!file) {
        Fail(files_.LastFailure());
        return nullptr;
    }
    auto level = std::make_unique<SVGLevel>();
    level->file = file.get();
    level->owned = std::move(file);
    return level;
}

bool WSVGWriter::PushLevel() {
    if (levels_.empty()) return false;
    auto level = MakePart();
    if (!level) return false;
    levels_.push_back(std::move(level));
    return true;
}

bool WSVGWriter::PopLevelInto(SVGLevel& target) {
    if (levels_.size() < 2) return false;
    std::unique_ptr<SVGLevel> head = std::move(levels_.back());
    levels_.pop_back();
    if (head->flag != 0 && !Write(target, Indent(depth_) + "</defs>\r\n")) return false;
    return CopyPart(head->owned, *target.file);
}

bool WSVGWriter::CopyPart(std::unique_ptr<platform::File>& part, platform::File& target) {
    if (failed_ || !part) return false;
    uint64_t remaining = 0;
    if (!part->Length(remaining) || !part->Rewind()) return Fail(part->FailureCause());
    char chunk[kCopyChunk];
    while (remaining > 0) {
        std::ptrdiff_t got = part->Read(chunk, kCopyChunk);
        if (got <= 0) return Fail(part->FailureCause());
        if (!target.Write(std::string_view(chunk, static_cast<size_t>(got))))
            return Fail(target.FailureCause());
        remaining -= static_cast<uint64_t>(got) < remaining ? static_cast<uint64_t>(got) : remaining;
    }
    part.reset();
    return true;
}

int WSVGWriter::BeginDocument(const SVGPage& page) {
    if (!Usable() || begun_ || levels_.size() != 1) return 0;
    const HostRect& r = page.pageRect;
    const HostRect& s = page.scaledRect;
    double width = (static_cast<double>(r.right) - r.left) / 254000.0;
    double height = (static_cast<double>(r.bottom) - r.top) / 254000.0;
    if (height < 0) height = -height;
    std::string text = FormatC(
        "<svg xml:space=\"preserve\" xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"%Gin\" height=\"%Gin\" "
        "style=\"shape-rendering:geometricPrecision; text-rendering:geometricPrecision; "
        "image-rendering:optimizeQuality\"\r\n",
        width, height);
    AppendC(text, "     viewBox=\"%d %d %d %d\">\r\n", s.left, s.top, s.right - s.left, s.bottom - s.top);
    if (!Write(Current(), text)) return 0;
    ++depth_;
    if (!PushLevel()) return 0;
    begun_ = true;
    return 1;
}

int WSVGWriter::EndDocument() {
    if (!Usable() || !begun_) return 0;
    // Open elements or deferred definitions would leave the markup unbalanced.
    if (levels_.size() != 2 || !parked_.empty()) {
        Fail();
        return 0;
    }
    SVGLevel& document = *levels_.front();
    const bool internalStyle = styleWritten_ && cssMode_ == kCssInternal && styleSheetPath_.empty();
    if (fontsWritten_ || definitionsWritten_ || internalStyle) {
        Write(document, " <defs>\r\n");
        if (definitionsWritten_ && definitionsPart_) CopyPart(definitionsPart_->owned, *document.file);
        if (fontsWritten_ && fontsPart_) CopyPart(fontsPart_->owned, *document.file);
        if (internalStyle) {
            CopyPart(stylePart_->owned, *document.file);
            Write(document, "   ]]>\r\n  </style>\r\n");
        }
        Write(document, " </defs>\r\n");
    }
    PopLevel();
    --depth_;
    Write(Current(), "</svg>\r\n");
    if (!documentFile_->Flush()) Fail(documentFile_->FailureCause());
    if (stylePart_ && stylePart_->owned && !stylePart_->owned->Flush())
        Fail(stylePart_->owned->FailureCause());
    // Parts that received nothing go now, not with the writer.
    fontsPart_.reset();
    definitionsPart_.reset();
    stylePart_.reset();
    ended_ = true;
    return failed_ ? 0 : 1;
}

int WSVGWriter::OpenElement(const SVGObject& object) {
    if (!Usable() || levels_.size() < 2) return 0;
    if (!Write(Current(), object.Write(WriteState()))) return 0;
    ++depth_;
    return PushLevel() ? 1 : 0;
}

int WSVGWriter::CloseElement(const std::string& text) {
    // The body level is closed by EndDocument alone: an unmatched close here
    // would end the document early.
    if (!Usable() || levels_.size() < 3) return 0;
    if (!PopLevel()) return 0;
    --depth_;
    return Write(Current(), Indent(depth_) + text) ? 1 : 0;
}

int WSVGWriter::BeginGroup(const SVGObject& object) {
    return OpenElement(object);
}
int WSVGWriter::EndGroup() {
    return CloseElement("</g>\r\n");
}
int WSVGWriter::BeginAnchor(const SVGObject& object) {
    return OpenElement(object);
}
int WSVGWriter::EndAnchor() {
    return CloseElement("</a>\r\n");
}

int WSVGWriter::OpenNamedElement(SVGObject& object, const std::string& name) {
    object.id.SetName(name);
    return BeginGroup(object);
}

int WSVGWriter::EndNamedElement() {
    return EndGroup();
}

int WSVGWriter::WriteElement(const SVGObject& object) {
    if (!Usable() || levels_.size() < 2) return 0;
    return Write(Current(), object.Write(WriteState())) ? 1 : 0;
}

int WSVGWriter::WriteDefinition(const SVGObject& object) {
    if (!Usable() || levels_.size() < 2 || !definitionsPart_) return 0;
    if (levels_.size() == 2) {
        ++depth_;
        std::string text = object.Write(WriteState());
        --depth_;
        if (!Write(*definitionsPart_, text)) return 0;
        definitionsWritten_ = true;
        return 1;
    }
    std::string text;
    if (Current().flag == 0) {
        text = Indent(depth_) + "<defs>\r\n";
        Current().flag = 1;
    }
    ++depth_;
    text += object.Write(WriteState());
    --depth_;
    return Write(Below(), text) ? 1 : 0;
}

int WSVGWriter::OpenDeferred(const SVGObject& object) {
    if (!Usable() || levels_.size() < 2) return 0;
    const bool topLevel = levels_.size() == 2;
    int written = WriteDefinition(object);
    if (written == 0) return 0;
    Parked parked;
    parked.level = std::move(levels_.back());
    parked.topLevel = topLevel;
    levels_.pop_back();
    parked_.push_back(std::move(parked));
    depth_ += 2;
    return PushLevel() ? written : 0;
}

int WSVGWriter::CloseDeferred(const char* tag) {
    if (!Usable() || parked_.empty() || levels_.size() < 2) return 0;
    Parked parked = std::move(parked_.back());
    parked_.pop_back();
    // A top-level mask or pattern keeps its content and end tag with its
    // start tag in the definitions part, inside the document's defs.
    SVGLevel& target = parked.topLevel ? *definitionsPart_ : Below();
    if (!PopLevelInto(target)) return 0;
    --depth_;
    levels_.push_back(std::move(parked.level));
    SVGLevel& endTarget = parked.topLevel ? *definitionsPart_ : Below();
    bool ok = Write(endTarget, Indent(depth_) + "</" + tag + ">\r\n");
    --depth_;
    return ok ? 1 : 0;
}

int WSVGWriter::BeginMask(const SVGObject& object) {
    return OpenDeferred(object);
}
int WSVGWriter::EndMask() {
    return CloseDeferred("mask");
}
int WSVGWriter::BeginPattern(const SVGObject& object) {
    return OpenDeferred(object);
}
int WSVGWriter::EndPattern() {
    return CloseDeferred("pattern");
}

int WSVGWriter::BeginFont(const SVGFont& font) {
    if (!Usable() || !fontsPart_) return 0;
    if (!Write(*fontsPart_, "  " + font.Write(WriteState()))) return 0;
    fontsWritten_ = true;
    // Without a style part the font is still written whole, only without its rule.
    if (!stylePart_) return 1;
    return WriteStyleRule(font.FontFaceRule());
}

int WSVGWriter::EndFont() {
    if (!Usable() || !fontsPart_) return 0;
    return Write(*fontsPart_, "  </font>\r\n") ? 1 : 0;
}

int WSVGWriter::WriteGlyph(const SVGObject& glyph) {
    if (!Usable() || !fontsPart_) return 0;
    if (!Write(*fontsPart_, "   " + glyph.Write(WriteState()))) return 0;
    fontsWritten_ = true;
    return 1;
}

int WSVGWriter::WriteStyleRule(const std::string& text) {
    if (!Usable() || !stylePart_) return 0;
    std::string rule;
    if (cssMode_ == kCssInternal) {
        if (stylePart_->flag == 0) {
            stylePart_->flag = 1;
            rule = "  <style type=\"text/css\">\r\n   <![CDATA[\r\n";
        }
        rule += "    " + EscapeCdata(text) + "\r\n";
    } else {
        rule = text + "\r\n";
    }
    if (!Write(*stylePart_, rule)) return 0;
    styleWritten_ = true;
    return 1;
}

int WSVGWriter::WriteDefinitionText(const std::string& text) {
    if (!Usable() || !definitionsPart_) return 0;
    if (!Write(*definitionsPart_, text)) return 0;
    definitionsWritten_ = true;
    return 1;
}

uint32_t WSVGWriter::GetSpare() const {
    return spare_;
}
void WSVGWriter::SetSpare(uint32_t value) {
    spare_ = value;
}
uint32_t WSVGWriter::GetCssMode() const {
    return cssMode_;
}
void WSVGWriter::SetCssMode(uint32_t mode) {
    cssMode_ = mode;
}

}  // namespace svgf
