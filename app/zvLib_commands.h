// zvLib, the command dispatcher: every toolbar tool, menu entry and shortcut reaches the
// program as one command string, group "." verb, carried out by ExecCommand.
#pragma once

#include <string>

namespace zvLib {

// The canvas tool in use ("OBJECT.RULER"), empty for the usual zoom window and selection.
extern std::string CurrentTool;

// Carries out a command: it is upper-cased (in the caller's variable too) and split at ".";
// the group is the first part, the verb the last (for ITEM and SNIPPET the second, the last
// being the argument), with character 1 in the last part standing for a dot. Commands that
// act on the circuit do nothing while there is none.
void ExecCommand(std::string& command);

} // namespace zvLib
