#pragma once

namespace dbkeel {

// The line composition's menu commands: the two relation screens, the line layout (the main
// window's tree reloaded after it closes with 建立) and the base ID bundles.
void registerCompositionScreens();

}  // namespace dbkeel
