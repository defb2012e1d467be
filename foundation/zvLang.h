// zvLang: the language table. Captions, tool tips and most messages are looked up by a key
// beginning with "$" in the table file "Zorv.lng" beside the program, which holds the key field
// "ID" and one text field per language code ("EN" always).
#pragma once

#include "foundation/NUX_STD_files.h"

#include <functional>
#include <string>
#include <string_view>

namespace zvLang {

// The current language code, upper case ("IT", "EN", "FR", "ES"); empty before the first choice.
const std::string& LangID();
// Sets the language code: blanks are dropped and it is upper-cased; a code that is not one of
// the offered languages becomes "EN"; an empty code stays empty.
void LangID(std::string_view code);
// The full path of the language file, set by LoadLanguageFile.
const std::string& LangFile();

// Opens the language file (program folder & "Zorv.lng") and reads it whole; 0 when the table
// is ready, else an error number (missing file, not a table file, no "ID" or "EN" field, no
// row). A failed load keeps the table of an earlier successful one. Never raises.
long LoadLanguageFile();

// The text of a key in the current language, with blanks around it dropped and every "\n"
// (backslash, n) turned into a carriage return and line feed. A key without a row, or any key
// before the table is loaded, gives "[TODO] " & key; an empty text in the current language
// gives "[" & code & "] " & the English text. A language the table has no field for reads
// the English field.
std::string Translate(std::string_view key);

// The caption and tip of a toolbar or menu tool.
struct ToolTexts {
    std::string caption;  // keeps its "&" and "..."
    std::string tip;      // without "&" and "..."
};

// The texts of the tool of that name, looked up with "$cmd." & name and "$cmd." & name &
// ".tip": a caption found missing ("[TODO]...") is empty, a tip found missing is the caption,
// and the tip loses every "&", then every "...".
ToolTexts ToolCaptionAndTip(std::string_view toolName,
                            const std::function<std::string(std::string_view)>& lookup);
// The same with the language table as the lookup.
ToolTexts ToolCaptionAndTip(std::string_view toolName);

// Why a file could not be written at the path, in the current language: the cause the last
// failed write of this thread recorded for that path, else one guessed from what is there: a
// link of another user, links in a circle, a folder in the way, a read-only file, another
// user's file in a sticky folder, no folder, no permission, more bytes than the reader takes
// (its bound in place of %1), else a full or unwritable disk ("$msg.savefailed." followed by
// link, loop, folder, readonly, notowner, nofolder, denied, toolarge, write).
std::string WriteFailureReason(const std::string& path);

// The message that a change of the settings or the user file could not be written at the path
// ("$msg.notsaved" with the path and the reason filled in).
std::string NotSavedMessage(const std::string& path);

// The message that the file at the path could not be read, in the current language, for the
// reader's fault: "$msg.filenotfound" when it is not there, else "$msg.readfailed" with the
// reason ("$msg.readfailed." followed by denied, notfile, systemfile, toolarge or error).
std::string ReadFailureMessage(const std::string& path, NUX_STD_library::ReadFault fault);
// The same message for the error number of a failed NUX_STD_library::FileExists (53 or 76 not
// found, 70 permission denied, 75 a folder or not a regular file).
std::string ReadFailureMessage(const std::string& path, long errNumber);

}  // namespace zvLang
