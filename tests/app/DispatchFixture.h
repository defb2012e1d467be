// What the dispatcher, item bar and info window tests share: the main window on screen with
// the piece table of the shipped catalogue, its icons in the temporary folder, the Qt user
// interface installed, a recording canvas in place of the window's own, the C locale's figures, and a new circuit of the
// 1:32 club set.
#pragma once

#include "AppTest.h"

#include "foundation/cRecordSurface.h"
#include "model/zvCircuit.h"
#include "view/frmMain.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace apptest {

class DispatchFixture : public AppFixture {
  protected:
    // The set the circuit is made of and the item bar shows.
    static constexpr const char* kSet = "CL32";

    void SetUp() override;
    void TearDown() override;

    // Runs a command and gives back the messages it showed.
    std::vector<std::string> run(std::string command);
    // Clicks a tool as the user would (through the toolbar control).
    void click(cBarTool& tool);

    // The main window.
    frmMain& main() { return *main_; }
    // The current circuit.
    zvCircuit& circuit() { return *zvLib::Circuit(); }
    // A track of the circuit (1-based).
    zvTrack& track(int index = 1);
    // The item codes of a track's pieces after the start marker, in chain order.
    std::vector<std::string> pieces(int index = 1);
    // The keys of the selected pieces of a track, in selection order.
    std::vector<std::string> selected(int index = 1);
    // The tool of the item bar's pieces tab that appends a piece (its definition).
    cBarTool& pieceTool(const std::string& definition);
    // A tool of a band.
    cBarTool& tool(const char* band, const char* name);
    // Makes a new circuit of the set current, as the start page does.
    void newCircuit(int lanes = 2);
    // Draws on the main window's own canvas from now on, instead of the recording one.
    void useRealCanvas();

    // The canvas the circuit is drawn on.
    cRecordSurface canvas_;

  private:
    frmMain* main_ = nullptr;
    cSurface* savedCanvas_ = nullptr;
    std::optional<std::string> savedLocale_;
};

} // namespace apptest
