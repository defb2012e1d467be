// zvLib, snippets: a run of pieces selected on the current track saved under a name in the
// user file, in the section of the current set, so that the item bar offers it as a tool.
#pragma once

namespace zvLib {

// Asks for a name and saves the pieces selected on the current track (in track order, start
// marker left out) as a snippet of the current set in the user file, asking before it
// replaces one; then reloads the set so the item bar shows it. Without a selection, or with a
// name that could not be read back, the user is told and nothing is written.
void SnippetSave();

} // namespace zvLib
