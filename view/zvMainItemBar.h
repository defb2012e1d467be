// zvMainItemBar: the main window's side of set loading. It shows the chosen set in the set
// chooser, keeps the item bar's width per set in the settings, makes sure every piece of the
// set has an icon file, rebuilds the stock table and fills the item bar's pieces and snippets
// tabs with their tools.
#pragma once

#include "app/core/zvLib_sets.h"

#include <string>

class cBarModel;

class zvMainItemBar : public zvItemBar {
  public:
    // The item bar's width, in twips, for a set whose width was never saved.
    static constexpr int kDefaultWidth = 1320;
    // The width of a snippet tool, in twips.
    static constexpr int kSnippetWidth = 1200;
    // The colour drawn transparent in piece icons (magenta).
    static constexpr std::int32_t kMaskColor = 0xFF00FF;

    // Works on the toolbar control of the main window; icons are looked for in the program's
    // temporary folder (none while that is not known).
    explicit zvMainItemBar(cBarModel& abr);

    // The set chooser shows setID; the bar width of the set left is saved.
    void SetChosen(const std::string& setID, const std::string& previousSetID) override;
    // The private temporary folder taken afresh, icons checked in it, stock table rebuilt,
    // pieces and snippets tabs filled, width restored.
    void SetLoaded(const zvSetTools& tools) override;

    // The settings key of a set's item bar width.
    static std::string WidthKey(const std::string& setID);

  private:
    void CheckIcons(const zvSetTools& tools);
    void FillPieces(const zvSetTools& tools);
    void FillSnippets(const zvSetTools& tools);

    cBarModel& abr_;
    long nextId_ = 100000; // tool identifiers of the item bar, apart from the designed ones
};
