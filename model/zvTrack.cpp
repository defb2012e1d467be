// zvTrack: chaining pieces from definition strings, keys and running lane lengths, re-layout,
// removal, selection helpers, the definition string, the snippet text and the hit test.
#include "model/zvTrack.h"

#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "model/zvLib_factory.h"
#include "model/zvUI.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

// Calls visit(entry) for every non-empty ";"-separated entry of a definition string.
template <class Visit> void forEachEntry(std::string_view itemcodes, Visit visit)
{
    while (!itemcodes.empty()) {
        const std::size_t semi = itemcodes.find(';');
        const std::string_view entry = itemcodes.substr(0, semi);
        if (!entry.empty()) {
            visit(entry);
        }
        if (semi == std::string_view::npos) {
            break;
        }
        itemcodes.remove_prefix(semi + 1);
    }
}

} // namespace

void zvTrack::CheckDefinition(std::string_view itemcodes)
{
    forEachEntry(itemcodes, [](std::string_view entry) {
        if (entry.find(':') == std::string_view::npos) {
            throw cError(5, "zvTrack",
                         "Piece definition without set code: \"" + std::string(entry) + "\"");
        }
    });
}

std::shared_ptr<zvTrack> zvTrack::ItemsCreate(const std::string& itemcodes,
                                              const std::shared_ptr<zvItem>& ItemStart) const
{
    CheckDefinition(itemcodes);
    std::shared_ptr<zvItem> from = ItemStart;
    if (!from) {
        if (items_.empty()) {
            throw cError(91, "zvTrack", "The track has no start marker");
        }
        from = items_.Last();
    }
    cFixed x = from->xFine();
    cFixed y = from->yFine();
    cFixed a = from->aFine();
    auto made = std::make_shared<zvTrack>();
    forEachEntry(itemcodes, [&](std::string_view entry) {
        const std::size_t colon = entry.find(':');
        const std::string set(entry.substr(0, colon));
        std::string_view rest = entry.substr(colon + 1);
        std::string item(rest.substr(0, rest.find(':')));
        auto p = zvLib::CreateItem(set, item, x, y, a);
        if (!p) {
            return;
        }
        x = p->xFine();
        y = p->yFine();
        a = p->aFine();
        made->items_.Add(std::move(p));
    });
    return made;
}

void zvTrack::chainLengths(const zvItem& L, zvItem& n)
{
    // After a lane crossover the running sums change lanes before the next piece adds its own
    // lane lengths: the car that ran on lane 2 now runs on lane 1.
    cFixed s1 = L.Len1();
    cFixed s2 = L.Len2();
    bool swapped = L.Swapped();
    if (L.flgSwap()) {
        std::swap(s1, s2);
        swapped = !swapped;
    }
    n.Swapped(swapped);
    n.Len0(L.Len0() + n.Len0());
    n.Len1(s1 + n.Len1());
    n.Len2(s2 + n.Len2());
}

void zvTrack::append(const std::string& itemcodes, const std::shared_ptr<zvItem>& ItemStart)
{
    if (ItemStart && items_.Find(ItemStart->Key()) != ItemStart) {
        throw cError(5, "zvTrack", "The piece to append after is not on this track");
    }
    const auto made = ItemsCreate(itemcodes, ItemStart);
    // Each new piece follows the previous one: the anchor, or the track's last piece.
    std::shared_ptr<zvItem> prev = ItemStart;
    for (const auto& n : made->items_) {
        ++keyCounter_;
        n->Key("K" + std::to_string(keyCounter_));
        n->TrackIndex(index_);
        chainLengths(prev ? *prev : *items_.Last(), *n);
        if (prev) {
            items_.AddAfter(n, n->Key(), prev->Key());
            prev = n;
        } else {
            items_.Add(n, n->Key());
        }
    }
}

void zvTrack::clearSelection()
{
    // The selection is emptied first, so that each deselection below finds nothing to remove.
    itemsSelected_.Clear();
    for (const auto& p : items_) {
        if (p->Selected()) {
            p->Selected(false);
        }
    }
    itemsSelected_.Clear();
}

std::string zvTrack::GetDefinitionString() const
{
    std::string out;
    for (const auto& p : items_) {
        if (p->Class() == 0) {
            continue;
        }
        out += p->setID();
        out += ':';
        out += p->Item();
        if (p->toFront()) {
            out += "[#]";
        }
        if (p->extAB()) {
            out += "[AB]";
        }
        if (p->extCD()) {
            out += "[CD]";
        }
        out += ';';
    }
    return out;
}

double zvTrack::GetLength(std::int16_t laneNumber) const
{
    if (items_.empty()) {
        return 0;
    }
    const zvItem& last = *items_.Last();
    switch (laneNumber) {
    case 0:
        return last.Len0().toDouble();
    case 1:
        return last.Len1().toDouble();
    case 2:
        return last.Len2().toDouble();
    default:
        return 0;
    }
}

void zvTrack::Init(cFixed x, cFixed y, cFixed Angle)
{
    std::string item = "<START>";
    auto start = zvLib::CreateItem("Zorv", item, x, y, Angle);
    if (!start) {
        throw cError(91, "zvTrack", "The piece table has no start record");
    }
    const std::size_t current = currentPosition();
    items_.Clear();
    itemsSelected_.Clear();
    keyCounter_ = 0;
    start->Key("K0");
    start->TrackIndex(index_);
    items_.Add(start, start->Key());
    restoreCurrent(current);
    if (zvLib::MainPic != nullptr) {
        start->Draw();
    }
}

void zvTrack::truncateToStart()
{
    while (items_.Count() > 1) {
        items_.RemoveAt(items_.Count());
    }
}

void zvTrack::ReCalcLayout()
{
    const std::string def = GetDefinitionString();
    CheckDefinition(def);
    const std::size_t current = currentPosition();
    keyCounter_ = 0;
    truncateToStart();
    itemsSelected_.Clear();
    append(def);
    restoreCurrent(current);
}

void zvTrack::Remove(const std::string& key)
{
    const std::size_t i = items_.IndexOf(key);
    if (i == 0) {
        throw cError(5, "zvTrack", "No piece with the key \"" + key + "\"");
    }
    const std::shared_ptr<zvItem> piece = items_.Item(i);
    if (piece->Class() == 0) {
        throw cError(5, "zvTrack", "The start marker cannot be removed");
    }
    const std::size_t current = currentPosition();
    items_.RemoveAt(i);
    itemsSelected_.RemoveIf([&piece](const auto& p) { return p == piece; });
    restoreCurrent(current);
}

void zvTrack::RemoveSelected()
{
    std::unordered_set<const zvItem*> gone;
    for (const auto& p : itemsSelected_) {
        if (p->Class() != 0) {
            gone.insert(p.get());
        }
    }
    std::shared_ptr<zvItem> beforeGap;
    for (const auto& p : items_) {
        if (gone.count(p.get()) != 0) {
            break;
        }
        beforeGap = p;
    }
    const std::size_t before = items_.Count();
    items_.RemoveIf([&gone](const auto& p) { return gone.count(p.get()) != 0; });
    itemsSelected_.Clear();
    if (items_.Count() != before && circuit_ != nullptr) {
        circuit_->CurItem(beforeGap);
    }
}

void zvTrack::CopySelected() const
{
    const auto circuit = zvLib::Circuit();
    const zvTrack& from = circuit && circuit->CurTrack() ? *circuit->CurTrack() : *this;
    std::string s;
    for (const auto& p : from.itemsSelected_) {
        s += p->setID() + ":" + p->Item() + ";";
    }
    if (s.empty() || !zvLib::UI) {
        return;
    }
    zvLib::UI->ClipboardClear();
    zvLib::UI->ClipboardSetText("<zorv snippet>" + s + "</zorv snippet>");
}

std::size_t zvTrack::currentPosition() const
{
    if (circuit_ == nullptr) {
        return 0;
    }
    const auto current = circuit_->CurItem();
    if (!current || current->TrackIndex() != index_) {
        return 0;
    }
    const std::size_t i = items_.IndexOf(current->Key());
    return i != 0 && items_.Item(i) == current ? i : 0;
}

void zvTrack::restoreCurrent(std::size_t position)
{
    if (position == 0 || circuit_ == nullptr || items_.empty()) {
        return;
    }
    const auto current = circuit_->CurItem();
    if (current && items_.Find(current->Key()) == current) {
        return;
    }
    circuit_->CurItem(items_.Item(std::min(position, items_.Count())));
}

std::shared_ptr<zvItem> zvTrack::HitTest(cFixed x, cFixed y) const
{
    // Boxes round each piece's outline are kept until the chain changes, so that a test on a
    // long track runs the exact outline test only on the few pieces whose box holds the point.
    if (boxesRevision_ != items_.Revision()) {
        boxes_.clear();
        boxes_.reserve(items_.Count());
        for (const auto& p : items_) {
            HitBox box{cFixed::max(), cFixed::max(), cFixed::min(), cFixed::min()};
            for (const zvPoint& v : p->GetOutline()) {
                box.xmin = std::min(box.xmin, v.x);
                box.ymin = std::min(box.ymin, v.y);
                box.xmax = std::max(box.xmax, v.x);
                box.ymax = std::max(box.ymax, v.y);
            }
            boxes_.push_back(box);
        }
        boxesRevision_ = items_.Revision();
    }
    std::size_t i = 0;
    for (const auto& p : items_) {
        const HitBox& b = boxes_[i++];
        if (x >= b.xmin && x <= b.xmax && y >= b.ymin && y <= b.ymax && p->isThis(x, y)) {
            return p;
        }
    }
    return nullptr;
}
