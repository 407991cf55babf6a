// Media query lists read the way CSS's media queries write them: queries
// separated by commas, each "[only | not] TYPE [and (FEATURE)]..." or
// "(FEATURE) [and (FEATURE)]...". Case does not matter; comments count as
// blanks.
#include "css_media.h"

#include <string>
#include <vector>

namespace markup::style::detail {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The words of one query; a parenthesised feature is one word, "(" kept.
bool Words(std::string_view query, std::vector<std::string>& words) {
    std::size_t at = 0;
    while (at < query.size()) {
        if (IsBlank(query[at])) {
            ++at;
            continue;
        }
        std::string word;
        if (query[at] == '(') {
            const std::size_t close = query.find(')', at);
            if (close == std::string_view::npos) return false;
            for (std::size_t i = at; i < close; ++i) {
                if (!IsBlank(query[i])) word += Lower(query[i]);
            }
            at = close + 1;
        } else {
            while (at < query.size() && !IsBlank(query[at]) && query[at] != '(') word += Lower(query[at++]);
        }
        words.push_back(std::move(word));
    }
    return true;
}

// A feature ("(" and the text inside): only colour is known to hold.
bool FeatureHolds(const std::string& feature) {
    return feature == "(color";
}

bool QueryApplies(std::string_view query) {
    std::vector<std::string> words;
    if (!Words(query, words) || words.empty()) return false;
    std::size_t at = 0;
    bool negated = false;
    bool prefixed = false;
    if (words[at] == "only" || words[at] == "not") {
        negated = words[at] == "not";
        prefixed = true;
        ++at;
    }
    bool typeMatches = true;
    bool needFeature = true;  // a query without a type starts with a feature
    if (at < words.size() && words[at][0] != '(') {
        typeMatches = words[at] == "all" || words[at] == "screen";
        needFeature = false;
        ++at;
    } else if (prefixed) {
        return false;  // "not" and "only" need a media type
    }
    for (; at < words.size(); ++at) {
        if (!needFeature) {
            if (words[at] != "and") return false;
            needFeature = true;
            continue;
        }
        // A feature this engine cannot evaluate leaves the whole query
        // unmatched, negated or not.
        if (words[at][0] != '(' || !FeatureHolds(words[at])) return false;
        needFeature = false;
    }
    if (needFeature) return false;
    return negated ? !typeMatches : typeMatches;
}

}  // namespace

bool MediaListApplies(std::string_view list) {
    // Comments become blanks first.
    std::string text;
    text.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == '/' && i + 1 < list.size() && list[i + 1] == '*') {
            const std::size_t end = list.find("*/", i + 2);
            if (end == std::string_view::npos) break;
            text += ' ';
            i = end + 1;
            continue;
        }
        text += list[i];
    }
    bool blank = true;
    for (char c : text) blank = blank && IsBlank(c);
    if (blank) return true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view query =
            std::string_view(text).substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (QueryApplies(query)) return true;
        if (comma == std::string::npos) return false;
        start = comma + 1;
    }
}

}  // namespace markup::style::detail
