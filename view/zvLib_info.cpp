// zvLib, the info panels: the lanes table loaded into the info window's grid with the lane
// colours and units, and the length and size panels of the status bar.
#include "view/zvLib_info.h"

#include "foundation/NUX_STD_locale.h"
#include "foundation/cFixed.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "view/frmInfo.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

namespace {

// The system colour of a window's background.
constexpr std::int32_t kWindowBackground = static_cast<std::int32_t>(0x80000005u);

std::string Format(const cVariant& value, const char* format)
{
    return NUX_STD_library::FormatEx(value, format, 0);
}

// The lanes table as the grid loads it: one array per field, each holding the rows.
cGridArray FieldsByRow(const zvTextTable& lanes)
{
    cGridArray fields(zvTableRow().size());
    for (const zvTableRow& row : lanes) {
        for (std::size_t f = 0; f < row.size(); ++f) {
            fields[f].push_back(row[f]);
        }
    }
    return fields;
}

// Loads the lanes into the grid: a row per lane in its lane colour (rows beyond the eighth
// lane keep the grid's own colours), the units behind the lengths, the gap and heading columns
// right-aligned on the window colour in plain type.
void FillLanes(cGridModel& grd, const zvCircuit& circuit)
{
    zvTextTable lanes;
    circuit.GetLanes(lanes);
    grd.LoadArray(FieldsByRow(lanes));
    for (int i = 1; i <= grd.RowCount(); ++i) {
        if (i <= static_cast<int>(zvLib::LaneColors.size())) {
            grd.RowStyle(i).BackColor(zvLib::LaneColors[static_cast<std::size_t>(i - 1)]);
        }
        grd.Value(i - 1, 1, grd.Value(i - 1, 1) + " m.");
        grd.Value(i - 1, 2, grd.Value(i - 1, 2) + " km");
    }
    for (const char* key : {"Field3", "Field4", "Field5"}) {
        cGridStyle& style = grd.Column(key).Style();
        style.TextAlignment(cGridAlign::RightCenter);
        style.BackColor(kWindowBackground);
        style.Bold(false);
    }
    // A row's colour would cover the column's own: the gap and heading cells keep the window
    // colour, so that only the lane figures carry the lane colour.
    for (int i = 1; i <= grd.RowCount(); ++i) {
        for (int c = 4; c <= 6 && c <= grd.ColumnCount(); ++c) {
            grd.CellStyle(i, c).BackColor(kWindowBackground);
        }
    }
    grd.Refresh();
}

} // namespace

namespace zvLib {

std::string LengthText(double lengthMm, int scale)
{
    const cFixed len = cFixed::fromDouble(lengthMm);
    const double atScale = (len * cFixed(scale)).toDouble() / 1000 / 1000;
    return Format(len.toDouble() / 1000, "0.00") + "m  (" + Format(atScale, "0.000") + " km)";
}

std::string SizeText(double widthMm, double heightMm)
{
    const auto metres = [](double mm) {
        const cFixed v = cFixed::fromDouble(mm);
        return Format(v < cFixed::fromDouble(0.001) ? 0.0 : v.toDouble() / 1000, "0.00");
    };
    return metres(widthMm) + " X " + metres(heightMm) + " m.";
}

void UpdateInfo()
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return;
    }
    const std::array<cFixed, 6> extent = circuit->GetExtent();
    FillLanes(InfoWindow().grd, *circuit);
    auto* main = qobject_cast<frmMain*>(Form(zvForm::frmMain));
    if (main == nullptr) {
        return;
    }
    cBarBand& sbr = main->abr.Band("sbr");
    sbr.Tool("pnlinfo_2").Caption(LengthText(circuit->GetLength(), circuit->OwnSet().scale));
    sbr.Tool("pnlinfo_3").Caption(SizeText(extent[4].toDouble(), extent[5].toDouble()));
    sbr.Refresh();
}

} // namespace zvLib
