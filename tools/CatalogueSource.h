// The readable description of the shipped catalogue (tools/catalogue.txt) and the table rows
// of "Zorv.dat" made from it: set rows first, then the pieces of each set, icons left empty
// for the tool to draw.
#pragma once

#include "foundation/cRecordset.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mkcatalogue {

// The description languages, in the order of the desc_ fields.
constexpr std::array<const char*, 4> kLanguages = {"it", "en", "fr", "es"};

// A piece set as the source gives it.
struct SourceSet {
    std::string id;          // set code
    std::string description; // the set's description
    std::string text;        // the name of its description in the four languages
    int line = 0;            // where the source gives it
    int scale = 0;           // model scale denominator (1:n)
    double width = 0;        // track width, mm
    double lanes = 0;        // distance between the two lanes, mm
    double radius = 0;       // inner edge of the tightest standard curve, mm
    double kerbs = 0;        // kerb width, mm
};

// A piece as the source gives it.
struct SourcePiece {
    int line = 0;        // line of the source, for messages
    std::string set;     // the set it belongs to
    std::string kind;    // straight, crossover, curve or transition
    std::string code;    // item code
    double length = 0;   // straights and transitions, mm
    double sweep = 0;    // curves, degrees
    double radius = 0;   // curves: standard radius number, or 0
    double edge = 0;     // curves: inner-edge radius in mm, or 0
    std::string feature; // startfinish, lanechange, banked, bridge, lapcounter or empty
    std::string to;      // transitions: the narrower set
    std::string text;    // the description's name
    std::vector<std::pair<std::string, std::string>> points; // named point sets
};

// The whole source.
struct Source {
    std::map<std::string, std::array<std::string, 4>> texts;
    std::vector<SourceSet> sets;
    std::vector<SourcePiece> pieces;
};

// Reads the source text; raises cError 321 naming the line of the first mistake.
Source ReadSource(const std::string& text);

// The catalogue's fields, in file order, with their type codes.
std::vector<std::pair<std::string, int>> CatalogueFields();
// Index of the icon field among CatalogueFields().
std::size_t IconField();

// One table row per set and per piece, values in field order, icons Null; raises cError 321
// for a piece that refers to a set or text the source does not have.
std::vector<std::vector<cVariant>> CatalogueRows(const Source& source);

// A table of the catalogue fields holding the rows; raises cError for a value that does not
// suit its field.
cRecordset CatalogueTable(const std::vector<std::vector<cVariant>>& rows);

} // namespace mkcatalogue
