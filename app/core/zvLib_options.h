// zvLib, the options and colours kept in the settings file: the grid settings, the canvas
// background, and the loading and saving of every view option and colour (the others live in
// model/zvLib_globals.h). The main window takes part through zvOptionsHost.
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>
#include <string>

// What loading and saving the options ask of the main window: its toolbar's view toggles, the
// item bar's width and the canvas colour. The main window implements it and installs itself
// in zvLib::OptionsHost while it exists.
class zvOptionsHost {
  public:
    virtual ~zvOptionsHost() = default;
    // Sets the pressed state of a tool of the toolbar band "tbr" ("grid", "lines", ...).
    virtual void ToolPressed(const std::string& tool, bool pressed) = 0;
    // The current width of the item bar band "ibr".
    virtual std::int32_t ItemBarWidth() const = 0;
    // Sets the back colour of the canvas.
    virtual void CanvasBackColor(std::int32_t color) = 0;
};

namespace zvLib {

// Grid spacing in millimetres.
extern cFixed GridWidth;
// Grid style, 0 to 3.
extern std::int16_t GridStyle;
// Back colour of the canvas.
extern std::int32_t background;

// The main window while it exists (not owned); null before and after, and in tests without one.
extern zvOptionsHost* OptionsHost;

// Reads the options and colours from the settings file (a missing or unreadable value gives
// its default), then sets the toolbar's view toggles and the canvas colour through OptionsHost.
void OptionsLoad();

// Reads the colours alone from the settings file (a missing value gives its default) and gives
// the canvas its background colour through OptionsHost; the view options stay as they are.
void ColorsLoad();

// Writes the language, the options and the colours (not the measure colour) to the settings
// file, then the item bar width of the current set when there are a main window and a set.
// False when the settings file could not be written (every value is tried all the same).
bool OptionsSave();

} // namespace zvLib
