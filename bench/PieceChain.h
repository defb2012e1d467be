// The piece table and the 2,000-piece chain the drawing benchmarks share: rows of straights
// and crossovers joined by half-turns of 45-degree curves, alternating left and right, so the
// chain snakes over about 19 by 25 metres without overlapping itself.
#pragma once

#include "model/zvItem.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"

#include <memory>
#include <string>
#include <vector>

namespace benchchain {

// A record of the benchmark set "B": track 156 mm wide, lanes 39 mm off the centre line.
inline zvPieceRecord record(const std::string& item, int classe, double sng1, double sng2, int o)
{
    zvPieceRecord rec;
    rec.setID = "B";
    rec.itemID = item;
    rec.code = item.substr(0, item.find('('));
    rec.stdWidth = 156;
    rec.lanesGap = 39;
    rec.kerbsWidth = 20;
    rec.classe = classe;
    rec.sng1 = cFixed::fromDouble(sng1);
    rec.sng2 = cFixed::fromDouble(sng2);
    rec.sng3 = 60;
    rec.R1 = cFixed::fromDouble(sng2 - 39);
    rec.R2 = cFixed::fromDouble(sng2 + 39);
    rec.Orientation = o;
    rec.r = 2;
    return rec;
}

// Fresh application state with the benchmark set's pieces of every class.
inline void fillTable()
{
    zvLib::ResetModelGlobals();
    zvLib::SetStdWidth = 156;
    zvPieceRecord cross = record("X350", 1, 350, 0, 2);
    cross.flgSwap = true;
    zvPieceRecord ticks = record("F2", 1, 350, 0, 2);
    ticks.flags = 2;
    zvPieceRecord sets = record("P350", 1, 350, 0, 2);
    sets.extra = "L1=0:39;175:20;350:39\r\nL2=0:-39;175:-20;350:-39";
    zvLib::PieceTable = {record("S350", 1, 350, 0, 2),
                         record("C45(R)", 2, 45, 324, -1),
                         record("C45(L)", 2, 45, 324, 1),
                         record("W350(F)", 8, 350, 120, 2),
                         cross,
                         ticks,
                         sets,
                         zvLib::StartRecord()};
}

// The start marker and 2,000 pieces of track 1, chained end to start.
inline std::vector<std::shared_ptr<zvItem>> makeChain()
{
    std::vector<std::shared_ptr<zvItem>> chain;
    std::string item = "<START>";
    chain.push_back(zvLib::CreateItem("Zorv", item, 0, 0, 0));
    const char* row[] = {"S350", "X350", "S350", "F2", "S350", "P350"};
    for (int i = 0; static_cast<int>(chain.size()) <= 2000; ++i) {
        const bool turn = i % 52 >= 48;
        const bool left = (i / 52) % 2 == 0;
        item = turn ? (left ? "C45(L)" : "C45(R)") : row[i % 6];
        const auto& p = *chain.back();
        chain.push_back(zvLib::CreateItem("B", item, p.xFine(), p.yFine(), p.aFine()));
        chain.back()->TrackIndex(1);
    }
    return chain;
}

} // namespace benchchain
