// What the tokenizer tests scan with: a stream over bytes in memory (read
// in pieces of a chosen size, or failing), a small HTML-like dictionary with
// empty elements, and the tokenizer bound to a scratch tree.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "markup/doc_tree.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/tokenizer.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/stream.h"
#include "sample_dictionary.h"
#include "temp_dir.h"

namespace markup_test {

// Bytes in memory, handed out at most `piece` at a time. With failAt set,
// the read that would pass that offset answers the failure instead.
class MemoryInStream : public markup::InStream {
  public:
    explicit MemoryInStream(std::string bytes, std::uint32_t piece = 1u << 20, std::string name = "")
        : bytes_(std::move(bytes)), piece_(piece) {
        name_ = name.c_str();
    }

    bool AtEnd(std::int32_t) override { return position_ >= bytes_.size(); }
    markup::ReturnCodeEnum Seek(std::int32_t, std::int32_t, std::int32_t) override {
        return markup::kErr_StreamSeek;
    }
    markup::ReturnCodeEnum Write(const void*, std::uint32_t) override { return markup::kErr_StreamReadOnly; }
    markup::ReturnCodeEnum Read(void* buffer, std::uint32_t& count) override {
        ++reads;
        if (failAt != std::string::npos && position_ + std::min<std::size_t>(count, piece_) > failAt) {
            count = 0;
            return markup::kErr_StreamHardwareIO;
        }
        const std::size_t n = std::min<std::size_t>({count, piece_, bytes_.size() - position_});
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        count = static_cast<std::uint32_t>(n);
        return n == 0 ? markup::kErr_StreamRead : markup::kErr_None;
    }

    std::size_t failAt = std::string::npos;
    int reads = 0;

  private:
    std::string bytes_;
    std::size_t piece_;
    std::size_t position_ = 0;
};

// Element and attribute ids the token dictionary adds to the sample.
enum TokenElement : std::uint32_t { kBreak = 20, kImage = 21 };
enum TokenAttribute : std::uint32_t { kSource = 22, kAlt = 23 };

// The sample dictionary (html, body, p, b; align, width, color, class,
// size) with two elements declared empty, br and img (img takes src and
// alt, alt with the default "picture"), and the entity "&eacute;".
inline std::unique_ptr<markup::Dictionary> BuildTokenDictionary() {
    using namespace markup;
    auto d = BuildSampleDictionary();
    d->Entities().Add("&eacute;", "\xE9");
    auto source = std::make_unique<HTMLAttributeDef>();
    source->SetId(kSource);
    source->SetName("src");
    d->Attributes().Insert(std::move(source));
    auto alt = std::make_unique<HTMLAttributeDef>();
    alt->SetId(kAlt);
    alt->SetName("alt");
    alt->SetDefaultKind(1);
    dynamic_cast<AttributeTypeFormatted*>(alt->SetTypeKind(kTypeFormatted))->SetFormatText("picture");
    d->Attributes().Insert(std::move(alt));
    auto br = std::make_unique<ElementDef>();
    br->SetId(kBreak);
    br->SetName("br");
    d->Elements().Insert(std::move(br));
    auto img = std::make_unique<ElementDef>();
    img->SetId(kImage);
    img->SetName("img");
    img->AddAttribute(kSource);
    img->AddAttribute(kAlt);
    d->Elements().Insert(std::move(img));
    return d;
}

// An open, case-sensitive dictionary as the registry makes one, but not
// registered.
inline std::unique_ptr<markup::Dictionary> BuildOpenDictionary() {
    auto d = std::make_unique<markup::Dictionary>();
    d->SetCaseSensitive(true);
    d->SetOpen(true);
    d->CreateEditor();
    return d;
}

// A tokenizer over bytes, into a scratch tree with the XML node factory.
class TokenizerRig {
  public:
    TokenizerRig(std::string bytes, markup::Dictionary* dictionary, bool xmlMode, std::uint32_t piece = 1u << 20,
                 std::string name = "")
        : stream(std::move(bytes), piece, name), tree(&factory, nullptr) {
        tree.SetDictionary(dictionary);
        tokenizer.SetErrors(&errors);
        tokenizer.Begin(&stream, nullptr, &tree, name.c_str(), xmlMode ? 1 : 0);
    }
    ~TokenizerRig() { tokenizer.Reset(); }

    // The next token, skipping the initial one.
    markup::Token* Next() {
        markup::Token* token = tokenizer.NextToken();
        if (token && dynamic_cast<markup::InitialToken*>(token)) token = tokenizer.NextToken();
        return token;
    }

    MemoryInStream stream;
    markup::XMLElementFactory factory;
    markup::DocTree tree;
    markup::ErrorList errors;
    markup::Tokenizer tokenizer;
};

// A fresh registry for one test, its dictionary folder an empty temporary
// one; the next test starts from another.
class FreshRegistry {
  public:
    FreshRegistry() {
        markup::Singleton<markup::DictionaryRegistry>::Release();
        markup::DictionaryRegistry::Instance().Init((folder.Path() + "/").c_str());
    }
    ~FreshRegistry() { markup::Singleton<markup::DictionaryRegistry>::Release(); }
    FreshRegistry(const FreshRegistry&) = delete;
    FreshRegistry& operator=(const FreshRegistry&) = delete;
    markup::DictionaryRegistry& operator*() const { return markup::DictionaryRegistry::Instance(); }
    markup::DictionaryRegistry* operator->() const { return &markup::DictionaryRegistry::Instance(); }

    TempDir folder;
};

}  // namespace markup_test
