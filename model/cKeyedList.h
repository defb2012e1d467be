// cKeyedList: an ordered list of shared objects, each under an optional text key, as the
// circuit's tracks, pieces, selections and objects are kept: 1-based positions, lookup by key
// ignoring the case of ASCII letters in constant time, cheap append at the end and a revision
// number that changes with every change of the list.
#pragma once

#include "foundation/cError.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

template <class T> class cKeyedList {
  public:
    // The element type: a shared object.
    using value_type = std::shared_ptr<T>;
    // Iteration over the elements in list order.
    using const_iterator = typename std::vector<value_type>::const_iterator;

    // Number of elements.
    std::size_t Count() const { return values_.size(); }
    // True when the list holds nothing.
    bool empty() const { return values_.empty(); }
    // The element at a 1-based position; cError 9 outside 1 to Count.
    const value_type& Item(std::size_t index) const
    {
        if (index < 1 || index > values_.size()) {
            throw cError(9, "cKeyedList", "Subscript out of range");
        }
        return values_[index - 1];
    }
    // The first and the last element; cError 9 when the list is empty.
    const value_type& First() const { return Item(1); }
    const value_type& Last() const { return Item(values_.size()); }
    // The element under a key, or null when no element has it (an empty key finds nothing).
    value_type Find(std::string_view key) const
    {
        const std::size_t i = IndexOf(key);
        return i == 0 ? nullptr : values_[i - 1];
    }
    // The 1-based position of the element under a key, or 0 when there is none.
    std::size_t IndexOf(std::string_view key) const
    {
        if (key.empty()) {
            return 0;
        }
        auto it = positions_.find(normalized(key));
        if (it == positions_.end()) {
            return 0;
        }
        if (it->second >= valid_) {
            reindex();
        }
        return it->second + 1;
    }
    // The 1-based position of an element held by the list, or 0.
    std::size_t IndexOf(const value_type& value) const
    {
        for (std::size_t i = 0; i < values_.size(); ++i) {
            if (values_[i] == value) {
                return i + 1;
            }
        }
        return 0;
    }

    // Adds an element at the end, under a key unless the key is empty; cError 457 when another
    // element already has the key.
    void Add(value_type value, std::string_view key = {})
    {
        std::string norm = claim(key);
        const std::size_t at = values_.size();
        if (!norm.empty()) {
            positions_[norm] = at;
        }
        values_.push_back(std::move(value));
        keys_.push_back(std::move(norm));
        if (valid_ == at) {
            valid_ = at + 1;
        }
        ++revision_;
    }
    // Adds an element directly after the element under the key after; cError 5 when no
    // element has that key, cError 457 when another element already has the new key.
    void AddAfter(value_type value, std::string_view key, std::string_view after)
    {
        const std::size_t prev = IndexOf(after);
        if (prev == 0) {
            throw cError(5, "cKeyedList", "No element with the key \"" + std::string(after) + "\"");
        }
        if (prev == values_.size()) {
            Add(std::move(value), key);
            return;
        }
        std::string norm = claim(key);
        if (!norm.empty()) {
            positions_[norm] = prev;
        }
        values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(prev), std::move(value));
        keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(prev), std::move(norm));
        valid_ = std::min(valid_, prev);
        ++revision_;
    }
    // Removes the element under a key; cError 5 when no element has it.
    void Remove(std::string_view key)
    {
        const std::size_t i = IndexOf(key);
        if (i == 0) {
            throw cError(5, "cKeyedList", "No element with the key \"" + std::string(key) + "\"");
        }
        RemoveAt(i);
    }
    // Removes the element at a 1-based position; cError 9 outside 1 to Count.
    void RemoveAt(std::size_t index)
    {
        Item(index);
        const std::size_t i = index - 1;
        if (!keys_[i].empty()) {
            positions_.erase(keys_[i]);
        }
        values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(i));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
        valid_ = std::min(valid_, i);
        ++revision_;
    }
    // Removes, in one pass, every element for which the test is true; returns how many went.
    template <class Pred> std::size_t RemoveIf(Pred test)
    {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < values_.size(); ++i) {
            if (test(values_[i])) {
                if (!keys_[i].empty()) {
                    positions_.erase(keys_[i]);
                }
                continue;
            }
            if (kept != i) {
                values_[kept] = std::move(values_[i]);
                keys_[kept] = std::move(keys_[i]);
            }
            ++kept;
        }
        const std::size_t removed = values_.size() - kept;
        if (removed > 0) {
            values_.resize(kept);
            keys_.resize(kept);
            valid_ = 0;
            ++revision_;
        }
        return removed;
    }
    // Removes every element.
    void Clear()
    {
        values_.clear();
        keys_.clear();
        positions_.clear();
        valid_ = 0;
        ++revision_;
    }

    // A number that changes whenever the list changes.
    std::uint64_t Revision() const { return revision_; }
    // The elements in list order.
    const_iterator begin() const { return values_.begin(); }
    const_iterator end() const { return values_.end(); }

  private:
    // Keys compare without regard to the case of ASCII letters.
    static std::string normalized(std::string_view key)
    {
        std::string out(key);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    }
    // The normalised key for a new element; cError 457 when the key is taken.
    std::string claim(std::string_view key) const
    {
        std::string norm = normalized(key);
        if (!norm.empty() && positions_.count(norm) != 0) {
            throw cError(457, "cKeyedList",
                         "This key is already associated with an element of this collection");
        }
        return norm;
    }
    // Brings the stored positions from the first stale one to the end up to date.
    void reindex() const
    {
        for (std::size_t i = valid_; i < keys_.size(); ++i) {
            if (!keys_[i].empty()) {
                positions_[keys_[i]] = i;
            }
        }
        valid_ = keys_.size();
    }

    std::vector<value_type> values_;
    // Normalised key per element, empty for an element without key.
    std::vector<std::string> keys_;
    // Position (0-based) per normalised key; exact below valid_, present for every key.
    mutable std::unordered_map<std::string, std::size_t> positions_;
    mutable std::size_t valid_ = 0;
    std::uint64_t revision_ = 0;
};
