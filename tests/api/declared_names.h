// Reading the public names out of a header and out of the API page.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace api_page {

// The names a header declares outside any class: routines, globals, types
// and constants, in the order they appear. Comments, preprocessor lines,
// class members and the bodies of inline routines are passed over.
std::vector<std::string> declared_names(std::string_view header);

// Every identifier inside the page's `code spans` (fenced code blocks do not
// count: an example is no description).
std::set<std::string> documented_identifiers(std::string_view page);

// The names the page's entries describe: the first identifier of each list
// item that starts with a code span ("- `NAME...`: ...").
std::vector<std::string> entry_names(std::string_view page);

}  // namespace api_page
