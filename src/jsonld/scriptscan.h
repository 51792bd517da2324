#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Finding the structured data in a web page: the contents of its
// <script type="application/ld+json"> elements. A small tolerant scanner, not an HTML parser:
// pages are often broken, and only these elements matter.
namespace kovanta::jsonld {

// At most this many blocks are taken from one page; real pages have a handful.
inline constexpr std::size_t kMaxScriptBlocks = 256;

// The contents of every JSON-LD script element of page, in page order (views into page).
//  - Tag and attribute names and the type value ignore case; attributes may stand in any
//    order, quoted with " or ' or unquoted; a type with parameters ("application/ld+json;
//    charset=utf-8") counts.
//  - Script elements of other types are skipped whole, so that "<script" inside their code
//    starts nothing. HTML comments are skipped; an unterminated one hides the rest of the
//    page, as in a browser.
//  - A block ends at "</script" in any case; an unterminated block runs to the end of the page.
//  - A comment or CDATA wrapper around the JSON ("<!-- ... -->") is removed.
std::vector<std::string_view> FindJsonLdScripts(std::string_view page);

} // namespace kovanta::jsonld
