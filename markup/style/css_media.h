// Media queries: which "@media" blocks apply to what this engine renders
// for, a screen of unknown size.
#pragma once

#include <string_view>

namespace markup::style::detail {

// Whether the media query list (the text between "@media" and its "{")
// selects that screen: a query of media type all or screen (or none, with
// features only), optionally after "only" or "not", whose features all
// hold. The engine knows no feature's value but "color", so a query naming
// another never matches, with or without "not"; a malformed query never
// matches either. An empty list selects everything.
bool MediaListApplies(std::string_view list);

}  // namespace markup::style::detail
