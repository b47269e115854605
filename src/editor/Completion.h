#pragma once
// What the editor offers while typing: the names a script may use, and the declaration of a routine as its call tip.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/HostTable.h"

namespace pelo::editor {

// Every host function, predefined variable, constant, type, class and class member, sorted without regard to case,
// each once.
std::vector<std::string> CompletionNames(const lang::HostTable& table);

// The declaration of the host function or class member called `name` ("function Pos(SubStr, S: string):
// Integer"); all of them, one per line, when several classes have a member of that name. Nothing when unknown.
std::optional<std::string> CallTipFor(const lang::HostTable& table, std::string_view name);

// The identifier a declaration declares: "function Pos(...)" -> "Pos", "property Count: Integer read" -> "Count".
std::string DeclaredName(std::string_view declaration);

}  // namespace pelo::editor
