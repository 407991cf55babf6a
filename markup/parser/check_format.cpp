// CheckFormat: the value check of formatted attribute types.
#include <cstdlib>
#include <memory>

#include "markup/parser/dictionary.h"
#include "markup/parser/regexp.h"
#include "markup/url.h"

namespace markup {

namespace {

struct FreeProgram {
    void operator()(regexp::Program* program) const { std::free(program); }
};

}  // namespace

bool CheckFormat(const DictionaryEditor* editor, std::uint32_t formatId, const String& value) {
    if (formatId == kFormatURL) {
        URLSpec url;
        return url.Parse(value);
    }
    if (!editor) return false;
    const ValueDef* format = nullptr;
    if (editor->ValueById(format, formatId) != kDict_Ok) return false;
    // The named value's second text is the pattern; its name only names it.
    try {
        std::unique_ptr<regexp::Program, FreeProgram> program(regexp::regcomp(format->Text().Text()));
        return regexp::regexec(program.get(), value.Text()) == 1;
    } catch (int) {
        return false;
    }
}

}  // namespace markup
