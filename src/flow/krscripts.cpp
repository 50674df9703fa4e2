#include "flow/krscripts.h"

void ScriptRegistry::Register() {}
