#pragma once
// The German tooltips of the skin set. Each skin file carries its tooltips in
// English under [BUTTONPOS] and, for the German table of Option, again under
// [TOOLTIPS_0407]; a tooltip this table lacks stays English there.
#include <string_view>

namespace skin {

inline constexpr std::string_view kGermanTooltipSection = "TOOLTIPS_0407";

// The German text of an English tooltip (UTF-8), or an empty view.
std::string_view GermanTooltip(std::string_view english);

}  // namespace skin
