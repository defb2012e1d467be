// zvLang, Qt's own texts: what Qt draws itself (the standard buttons of the message boxes, the
// file, colour, input and print dialogs) in the language the user chose for the program, from
// the translations Qt keeps in its own folder.
#pragma once

namespace zvLang {

// Puts Qt's own texts in the current language (LangID): Qt's translation of it replaces the one
// put in force before. English, no language yet, or a language Qt has no translation of on this
// machine leave Qt's own English. True when one of Qt's translations is in force.
bool TranslateQt();

} // namespace zvLang
