// zvLib, the settings file: the get, save and delete calls that the rest of the program uses
// for its own settings. They keep the shape of the classic registry-settings calls, but the
// application name is ignored and everything lives in the one INI file IniFile.
#pragma once

#include "foundation/cVariant.h"

#include <string>
#include <utility>
#include <vector>

namespace zvLib {

// Full path of the settings file "Zorv.ini" in the data folder, set at start-up.
extern std::string IniFile;

// The value of a key of the settings file with blanks around it removed. When that is empty
// (missing file, section or key, or a blank value), the default as text (not trimmed); the
// empty default gives the empty text. The application name is ignored.
std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const cVariant& def = cVariant());

// Writes the value as text (numbers with "." as decimal sign, Booleans "True" or "False");
// an empty text deletes the key, an empty key the whole section. False when the settings file
// could not be written (the caller decides whether to say so); true while writes are frozen.
bool SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const cVariant& value);

// Deletes the key, or the whole section when the key is empty; false as for SaveSetting.
bool DeleteSetting(const std::string& app, const std::string& section, const std::string& key);

// Writes several keys of one section in one rewrite of the file, as SaveSetting pair after
// pair would (an empty value deletes its key); false as for SaveSetting.
bool SaveSettings(const std::string& section,
                  const std::vector<std::pair<std::string, std::string>>& pairs);

// With true, every later write of the settings file is left undone: a reset deletes the file
// and nothing on the way out may write it again. False lets writes through again.
void FreezeSettings(bool frozen);
// True while writes of the settings file are left undone.
bool SettingsFrozen();

} // namespace zvLib
