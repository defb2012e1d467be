// zvItem: one placed track piece (straight, curve, width transition or a track's start marker):
// its catalogue identity, dimensions, pose, outline and lane points, kerbs, lengths, named point
// sets and selection. The piece factory fills it; a track owns it through a shared pointer.
#pragma once

#include "foundation/cFixed.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class cSurface;

// A point in world millimetres.
struct zvPoint {
    cFixed x;
    cFixed y;
};

class zvItem : public std::enable_shared_from_this<zvItem> {
  public:
    // An empty piece: texts empty, numbers 0, one unnamed point set without points.
    zvItem();

    // Catalogue set of the piece.
    const std::string& setID() const { return setID_; }
    void setID(const std::string& v) { setID_ = v; }
    // Key of the piece in its track ("K" and a number).
    const std::string& Key() const { return Key_; }
    void Key(const std::string& v) { Key_ = v; }
    // Catalogue item key with its hand suffix, without markers.
    const std::string& Item() const { return Item_; }
    void Item(const std::string& v) { Item_ = v; }
    // Printed code label (item key without hand suffix).
    const std::string& code() const { return code_; }
    void code(const std::string& v) { code_ = v; }
    // Description in the current language.
    const std::string& Desc() const { return Desc_; }
    void Desc(const std::string& v) { Desc_ = v; }
    // Kind: 0 start marker, 1 straight, 2 curve, 8 width transition.
    std::int32_t Class() const { return Class_; }
    void Class(std::int32_t v) { Class_ = v; }
    // Hand: curves +1 left, -1 right; width transitions 2 or -2; else 2.
    std::int32_t Orientation() const { return Orientation_; }
    void Orientation(std::int32_t v) { Orientation_ = v; }
    // Extra-feature kind from the record's flags.
    std::int32_t xFlag() const { return xFlag_; }
    void xFlag(std::int32_t v) { xFlag_ = v; }
    // The piece exchanges the two lanes.
    bool flgSwap() const { return flgSwap_; }
    void flgSwap(bool v) { flgSwap_ = v; }
    // Track width in mm.
    cFixed stdWidth() const { return stdWidth_; }
    void stdWidth(cFixed v) { stdWidth_ = v; }
    // Distance of each lane from the centre line in mm.
    cFixed lanesGap() const { return lanesGap_; }
    void lanesGap(cFixed v) { lanesGap_ = v; }
    // Width of a kerb strip in mm.
    cFixed kerbsWidth() const { return kerbsWidth_; }
    void kerbsWidth(cFixed v) { kerbsWidth_ = v; }
    // Straight: length; curve: sweep in degrees; start marker: 80.
    cFixed Par1() const { return Par1_; }
    void Par1(cFixed v) { Par1_ = v; }
    // Curve: centre-line radius; width transition: width at the narrow end.
    cFixed Par2() const { return Par2_; }
    void Par2(cFixed v) { Par2_ = v; }
    // Width transition: lane spacing at the narrow end.
    cFixed Par3() const { return Par3_; }
    void Par3(cFixed v) { Par3_ = v; }
    // Radius number of a curve, 1-based (picks the radius colour).
    cFixed r() const { return r_; }
    void r(cFixed v) { r_ = v; }
    // Catalogue radius value.
    cFixed R0() const { return R0_; }
    void R0(cFixed v) { R0_ = v; }
    // Catalogue lane-1 radius of a curve.
    cFixed r1() const { return r1_; }
    void r1(cFixed v) { r1_ = v; }
    // Catalogue lane-2 radius of a curve.
    cFixed r2() const { return r2_; }
    void r2(cFixed v) { r2_ = v; }
    // Extra coordinates as x, y pairs: start arrow or feature shape.
    const std::vector<double>& PExtra() const { return PExtra_; }
    void PExtra(const std::vector<double>& v) { PExtra_ = v; }
    // Lane-crossover points as x, y pairs (e', g', h', f').
    const std::vector<double>& PCross() const { return PCross_; }
    void PCross(const std::vector<double>& v) { PCross_ = v; }
    // 1-based number of the owning track; 0 outside a track.
    std::int16_t TrackIndex() const { return TrackIndex_; }
    void TrackIndex(std::int16_t v) { TrackIndex_ = v; }
    // The two lane colours are exchanged on this piece.
    bool Swapped() const { return Swapped_; }
    void Swapped(bool v) { Swapped_ = v; }
    // Centre-line length from the track's start to the end of this piece.
    cFixed Len0() const { return Len0_; }
    void Len0(cFixed v) { Len0_ = v; }
    // Lane-1 length from the track's start to the end of this piece.
    cFixed Len1() const { return Len1_; }
    void Len1(cFixed v) { Len1_ = v; }
    // Lane-2 length from the track's start to the end of this piece.
    cFixed Len2() const { return Len2_; }
    void Len2(cFixed v) { Len2_ = v; }
    // Drawn once more on top of all pieces (marker "[#]").
    bool toFront() const { return toFront_; }
    void toFront(bool v) { toFront_ = v; }
    // Fill colour of the piece.
    std::int32_t ExtraColor() const { return ExtraColor_; }
    void ExtraColor(std::int32_t v) { ExtraColor_ = v; }
    // Kerb strip on side a-b, left of travel (marker "[AB]").
    bool extAB() const { return extAB_; }
    void extAB(bool v) { extAB_ = v; }
    // Corner a of the a-b kerb, x.
    cFixed extAB_xa() const { return extAB_xa_; }
    void extAB_xa(cFixed v) { extAB_xa_ = v; }
    // Corner a of the a-b kerb, y.
    cFixed extAB_ya() const { return extAB_ya_; }
    void extAB_ya(cFixed v) { extAB_ya_ = v; }
    // Corner b of the a-b kerb, x.
    cFixed extAB_xb() const { return extAB_xb_; }
    void extAB_xb(cFixed v) { extAB_xb_ = v; }
    // Corner b of the a-b kerb, y.
    cFixed extAB_yb() const { return extAB_yb_; }
    void extAB_yb(cFixed v) { extAB_yb_ = v; }
    // Corner c of the a-b kerb, x.
    cFixed extAB_xc() const { return extAB_xc_; }
    void extAB_xc(cFixed v) { extAB_xc_ = v; }
    // Corner c of the a-b kerb, y.
    cFixed extAB_yc() const { return extAB_yc_; }
    void extAB_yc(cFixed v) { extAB_yc_ = v; }
    // Corner d of the a-b kerb, x.
    cFixed extAB_xd() const { return extAB_xd_; }
    void extAB_xd(cFixed v) { extAB_xd_ = v; }
    // Corner d of the a-b kerb, y.
    cFixed extAB_yd() const { return extAB_yd_; }
    void extAB_yd(cFixed v) { extAB_yd_ = v; }
    // Kerb strip on side c-d, right of travel (marker "[CD]").
    bool extCD() const { return extCD_; }
    void extCD(bool v) { extCD_ = v; }
    // Corner a of the c-d kerb, x.
    cFixed extCD_xa() const { return extCD_xa_; }
    void extCD_xa(cFixed v) { extCD_xa_ = v; }
    // Corner a of the c-d kerb, y.
    cFixed extCD_ya() const { return extCD_ya_; }
    void extCD_ya(cFixed v) { extCD_ya_ = v; }
    // Corner b of the c-d kerb, x.
    cFixed extCD_xb() const { return extCD_xb_; }
    void extCD_xb(cFixed v) { extCD_xb_ = v; }
    // Corner b of the c-d kerb, y.
    cFixed extCD_yb() const { return extCD_yb_; }
    void extCD_yb(cFixed v) { extCD_yb_ = v; }
    // Corner c of the c-d kerb, x.
    cFixed extCD_xc() const { return extCD_xc_; }
    void extCD_xc(cFixed v) { extCD_xc_ = v; }
    // Corner c of the c-d kerb, y.
    cFixed extCD_yc() const { return extCD_yc_; }
    void extCD_yc(cFixed v) { extCD_yc_ = v; }
    // Corner d of the c-d kerb, x.
    cFixed extCD_xd() const { return extCD_xd_; }
    void extCD_xd(cFixed v) { extCD_xd_ = v; }
    // Corner d of the c-d kerb, y.
    cFixed extCD_yd() const { return extCD_yd_; }
    void extCD_yd(cFixed v) { extCD_yd_ = v; }
    // Heading at the start, degrees.
    cFixed aIniz() const { return aIniz_; }
    void aIniz(cFixed v) { aIniz_ = v; }
    // Heading at the end, degrees.
    cFixed aFine() const { return aFine_; }
    void aFine(cFixed v) { aFine_ = v; }
    // Start point, x.
    cFixed xIniz() const { return xIniz_; }
    void xIniz(cFixed v) { xIniz_ = v; }
    // Start point, y.
    cFixed yIniz() const { return yIniz_; }
    void yIniz(cFixed v) { yIniz_ = v; }
    // End point, x; the next piece starts here.
    cFixed xFine() const { return xFine_; }
    void xFine(cFixed v) { xFine_ = v; }
    // End point, y.
    cFixed yFine() const { return yFine_; }
    void yFine(cFixed v) { yFine_ = v; }
    // Centre of a curve, x.
    cFixed xCC() const { return xCC_; }
    void xCC(cFixed v) { xCC_ = v; }
    // Centre of a curve, y.
    cFixed yCC() const { return yCC_; }
    void yCC(cFixed v) { yCC_ = v; }
    // Label point, x: centre of the box around corners a-d.
    cFixed X0() const { return X0_; }
    void X0(cFixed v) { X0_ = v; }
    // Label point, y.
    cFixed Y0() const { return Y0_; }
    void Y0(cFixed v) { Y0_ = v; }
    // x of corner a (start, left).
    cFixed xa() const { return xa_; }
    void xa(cFixed v) { xa_ = v; }
    // y of corner a (start, left).
    cFixed ya() const { return ya_; }
    void ya(cFixed v) { ya_ = v; }
    // x of corner b (end, left).
    cFixed xb() const { return xb_; }
    void xb(cFixed v) { xb_ = v; }
    // y of corner b (end, left).
    cFixed yb() const { return yb_; }
    void yb(cFixed v) { yb_ = v; }
    // x of corner c (end, right).
    cFixed xc() const { return xc_; }
    void xc(cFixed v) { xc_ = v; }
    // y of corner c (end, right).
    cFixed yc() const { return yc_; }
    void yc(cFixed v) { yc_ = v; }
    // x of corner d (start, right).
    cFixed xd() const { return xd_; }
    void xd(cFixed v) { xd_ = v; }
    // y of corner d (start, right).
    cFixed yd() const { return yd_; }
    void yd(cFixed v) { yd_ = v; }
    // x of lane point e (lane 1, start).
    cFixed xe() const { return xe_; }
    void xe(cFixed v) { xe_ = v; }
    // y of lane point e (lane 1, start).
    cFixed ye() const { return ye_; }
    void ye(cFixed v) { ye_ = v; }
    // x of lane point f (lane 1, end).
    cFixed xf() const { return xf_; }
    void xf(cFixed v) { xf_ = v; }
    // y of lane point f (lane 1, end).
    cFixed yf() const { return yf_; }
    void yf(cFixed v) { yf_ = v; }
    // x of lane point g (lane 2, end).
    cFixed xg() const { return xg_; }
    void xg(cFixed v) { xg_ = v; }
    // y of lane point g (lane 2, end).
    cFixed yg() const { return yg_; }
    void yg(cFixed v) { yg_ = v; }
    // x of lane point h (lane 2, start).
    cFixed xh() const { return xh_; }
    void xh(cFixed v) { xh_ = v; }
    // y of lane point h (lane 2, start).
    cFixed yh() const { return yh_; }
    void yh(cFixed v) { yh_ = v; }

    // Stores a named point set from point-set text in piece-local coordinates (x along the
    // start heading, y to its left, origin at the start point), turned into world coordinates.
    // Raises cError 5 on an empty or malformed text and then leaves the piece unchanged.
    void Points(const std::string& feature, const std::string& pBuffer);
    // The named point set as point-set text in world coordinates ("x:y;" per point), or empty
    // when the piece has no set of that name.
    std::string Points(const std::string& feature) const;

    // Draws the named point set as a polyline on the surface in the colour, with the surface's
    // pen; nothing when the piece has no such set.
    void drawFeature(const std::string& feature, cSurface& outdevice, std::int32_t drawColor) const;
    // Draws the piece on the main canvas.
    void Draw() const;
    // Draws the piece on the piece editor's picture, construction marks included.
    void Display() const;
    // Draws the piece as selected on the main canvas.
    void hilite() const;
    // Draws the piece as a preview of a piece about to be appended on the main canvas.
    void Sketch() const;
    // Draws the piece on the printer page.
    void Printout() const;

    // Bounding box of the outline (minX, minY, maxX, maxY), widened by the kerbs while kerbs are
    // shown; sets the label point X0, Y0 from the outline alone.
    std::array<cFixed, 4> GetExtent();
    // True when the world point lies inside the piece's outline.
    bool isThis(cFixed x, cFixed y) const;
    // The selection flag.
    bool Selected() const { return selected_; }
    // Sets the selection flag, makes the piece the circuit's current piece and adds it to or
    // removes it from its track's selection (start markers never enter it).
    void Selected(bool isSelected);

    // The closed outline polygon (last point repeats the first): corners a, b, c, d for straight
    // pieces, five points along each edge of a curve at the radius it is drawn with.
    std::vector<zvPoint> GetOutline() const;
    // Index of the first point set whose name matches without regard to case, or -1.
    int FindPointSet(const std::string& name) const;

  private:
    // Draws the piece in layers in one output mode: -1 editor, 0 canvas, 1 selected,
    // 2 preview, 4 printer.
    void Render(int mode) const;
    // Dotted radius lines and the centre cross of a curve.
    void DrawConstruction(cSurface& surface) const;
    // A red cross at the label point.
    void DrawOrigin(cSurface& surface) const;
    // The code label centred on the label point, in black in every mode; the surface keeps
    // its fore colour.
    void DrawCode(cSurface& surface) const;

    // A named list of world points.
    struct PointSet {
        std::string name;
        std::vector<zvPoint> points;
    };

    std::string setID_;
    std::string Key_;
    std::string Item_;
    std::string code_;
    std::string Desc_;
    std::int32_t Class_ = 0;
    std::int32_t Orientation_ = 0;
    std::int32_t xFlag_ = 0;
    bool flgSwap_ = false;
    cFixed stdWidth_;
    cFixed lanesGap_;
    cFixed kerbsWidth_;
    cFixed Par1_;
    cFixed Par2_;
    cFixed Par3_;
    cFixed r_;
    cFixed R0_;
    cFixed r1_;
    cFixed r2_;
    std::vector<double> PExtra_;
    std::vector<double> PCross_;
    std::int16_t TrackIndex_ = 0;
    bool Swapped_ = false;
    cFixed Len0_;
    cFixed Len1_;
    cFixed Len2_;
    bool toFront_ = false;
    std::int32_t ExtraColor_ = 0;
    bool extAB_ = false;
    cFixed extAB_xa_;
    cFixed extAB_ya_;
    cFixed extAB_xb_;
    cFixed extAB_yb_;
    cFixed extAB_xc_;
    cFixed extAB_yc_;
    cFixed extAB_xd_;
    cFixed extAB_yd_;
    bool extCD_ = false;
    cFixed extCD_xa_;
    cFixed extCD_ya_;
    cFixed extCD_xb_;
    cFixed extCD_yb_;
    cFixed extCD_xc_;
    cFixed extCD_yc_;
    cFixed extCD_xd_;
    cFixed extCD_yd_;
    cFixed aIniz_;
    cFixed aFine_;
    cFixed xIniz_;
    cFixed yIniz_;
    cFixed xFine_;
    cFixed yFine_;
    cFixed xCC_;
    cFixed yCC_;
    cFixed X0_;
    cFixed Y0_;
    cFixed xa_;
    cFixed ya_;
    cFixed xb_;
    cFixed yb_;
    cFixed xc_;
    cFixed yc_;
    cFixed xd_;
    cFixed yd_;
    cFixed xe_;
    cFixed ye_;
    cFixed xf_;
    cFixed yf_;
    cFixed xg_;
    cFixed yg_;
    cFixed xh_;
    cFixed yh_;

    std::vector<PointSet> pointSets_;
    bool selected_ = false;
};
