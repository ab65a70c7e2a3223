// The user's guide's parameter table, made from the parameter table and the
// editor's layout so the two cannot drift apart.
#pragma once

#include <string>

// A Markdown table of all 58 parameters: label, what it does, how the value
// maps, what the display shows, and the two factory programs' values.
std::string parameterTableMarkdown();
