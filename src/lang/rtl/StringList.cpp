#include "lang/rtl/StringList.h"

#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringRoutines.h"

#include <algorithm>

namespace pelo::lang::rtl {

namespace {

[[noreturn]] void listIndexError(int32_t index) {
    throw ScriptError("List index (" + std::to_string(index) + ") out of bounds");
}
[[noreturn]] void sortedListError() { throw ScriptError("Operation not allowed on sorted list"); }

}  // namespace

StringList::StringList(std::string lineBreak) : lineBreak_(std::move(lineBreak)) {}

void StringList::checkIndex(int32_t index, int32_t limit) const {
    if (index < 0 || index >= limit) listIndexError(index);
}

const std::string& StringList::Get(int32_t index) const {
    checkIndex(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

void StringList::Put(int32_t index, std::string_view s) {
    if (sorted_) sortedListError();
    checkIndex(index, Count());
    items_[static_cast<size_t>(index)].text.assign(s);
}

StringList::ObjectRef StringList::GetObject(int32_t index) const {
    checkIndex(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void StringList::PutObject(int32_t index, ObjectRef object) {
    checkIndex(index, Count());
    items_[static_cast<size_t>(index)].object = object;
}

void StringList::insertItem(int32_t index, std::string_view s, ObjectRef object) {
    if (Count() == capacity_) {
        // the reference grows its capacity in these steps, and scripts can read Capacity
        capacity_ = capacity_ >= 256 ? capacity_ + capacity_ / 4 : (capacity_ == 0 ? 4 : capacity_ * 4);
    }
    items_.insert(items_.begin() + index, Item{std::string(s), object});
}

int32_t StringList::Add(std::string_view s) { return AddObject(s, 0); }

int32_t StringList::AddObject(std::string_view s, ObjectRef object) {
    int32_t index = Count();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == Duplicates::Ignore) return index;
        if (duplicates_ == Duplicates::Error) throw ScriptError("String list does not allow duplicates");
    }
    insertItem(index, s, object);
    return index;
}

void StringList::AddStrings(const StringList& other) {
    const int32_t n = other.Count();  // fixed first, so that adding a list to itself ends
    for (int32_t i = 0; i < n; ++i) AddObject(other.items_[static_cast<size_t>(i)].text, other.items_[static_cast<size_t>(i)].object);
}

void StringList::Insert(int32_t index, std::string_view s) { InsertObject(index, s, 0); }

void StringList::InsertObject(int32_t index, std::string_view s, ObjectRef object) {
    if (sorted_) sortedListError();
    checkIndex(index, Count() + 1);
    insertItem(index, s, object);
}

void StringList::Delete(int32_t index) {
    checkIndex(index, Count());
    items_.erase(items_.begin() + index);
}

void StringList::Clear() {
    items_.clear();
    capacity_ = 0;
}

void StringList::Exchange(int32_t index1, int32_t index2) {
    checkIndex(index1, Count());
    checkIndex(index2, Count());
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void StringList::Move(int32_t curIndex, int32_t newIndex) {
    checkIndex(curIndex, Count());
    Item item = items_[static_cast<size_t>(curIndex)];
    Delete(curIndex);
    InsertObject(newIndex, item.text, item.object);
}

int StringList::Compare(std::string_view a, std::string_view b) const {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!caseSensitive_) {
            x = AnsiLowerChar(x);
            y = AnsiLowerChar(y);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int32_t StringList::IndexOf(std::string_view s) const {
    if (sorted_) {
        int32_t index = 0;
        return Find(s, index) ? index : -1;
    }
    for (size_t i = 0; i < items_.size(); ++i)
        if (Compare(items_[i].text, s) == 0) return static_cast<int32_t>(i);
    return -1;
}

int32_t StringList::IndexOfObject(ObjectRef object) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].object == object) return static_cast<int32_t>(i);
    return -1;
}

int32_t StringList::IndexOfName(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        const std::string& t = items_[i].text;
        const size_t p = t.find(nameValueSeparator_);
        if (p != std::string::npos && Compare(std::string_view(t).substr(0, p), name) == 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool StringList::Find(std::string_view s, int32_t& index) const {
    if (!sorted_) throw ScriptError("Cannot use find on unsorted list");
    bool found = false;
    int32_t lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int c = Compare(s, items_[static_cast<size_t>(mid)].text);
        if (c > 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != Duplicates::Accept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void StringList::sortItems() {
    // The reference sorts with a randomised quicksort, so the order of strings that compare equal is
    // arbitrary there; a stable sort keeps their insertion order.
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
}

void StringList::Sort() {
    if (!sorted_) sortItems();
}

void StringList::SetSorted(bool value) {
    if (value && !sorted_) sortItems();
    sorted_ = value;
}

void StringList::SetCaseSensitive(bool value) {
    if (value == caseSensitive_) return;
    caseSensitive_ = value;
    if (sorted_) sortItems();
}

void StringList::SetCapacity(int32_t value) {
    if (value < 0) throw ScriptError("List capacity (" + std::to_string(value) + ") exceeded.");
    if (value < Count()) items_.resize(static_cast<size_t>(value));
    capacity_ = value;
}

bool StringList::Equals(const StringList& other) const {
    if (Count() != other.Count()) return false;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].text != other.items_[i].text) return false;
    return true;
}

std::string StringList::Text() const {
    std::string r;
    for (const Item& item : items_) {
        r += item.text;
        r += lineBreak_;
    }
    return r;
}

void StringList::SetText(std::string_view text) {
    Clear();
    size_t p = 0;
    while (p < text.size()) {
        size_t e = p;
        while (e < text.size() && text[e] != '\n' && text[e] != '\r') ++e;
        Add(text.substr(p, e - p));
        if (e < text.size()) e += (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1;
        p = e;
    }
}

std::string StringList::quote(std::string_view s, char quoteChar) {
    std::string r(1, quoteChar);
    for (char c : s) {
        r += c;
        if (c == quoteChar) r += c;
    }
    r += quoteChar;
    return r;
}

std::string StringList::delimitedText(char delimiter, char quoteChar, bool strict) const {
    std::string r;
    for (size_t i = 0; i < items_.size(); ++i) {
        const std::string& s = items_[i].text;
        bool needsQuotes = false;
        for (char c : s) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '\0' || c == quoteChar || c == delimiter || (!strict && u <= ' ')) {
                needsQuotes = true;
                break;
            }
        }
        if (needsQuotes && quoteChar != '\0')
            r += quote(s, quoteChar);
        else
            r += s;
        if (i + 1 < items_.size()) r += delimiter;
    }
    if (r.empty() && items_.size() == 1) r = std::string(2, quoteChar);
    return r;
}

void StringList::setDelimitedText(std::string_view v, char delimiter, char quoteChar, bool strict) {
    Clear();
    const size_t len = v.size();
    auto isSpace = [&](size_t i) { return !strict && static_cast<unsigned char>(v[i]) <= ' '; };
    size_t i = 0;
    bool notFirst = false;
    while (i < len) {
        if (notFirst && i < len && v[i] == delimiter) ++i;
        while (i < len && isSpace(i)) ++i;
        if (i < len) {
            if (v[i] == quoteChar) {
                size_t j = i + 1;
                while (j < len && (v[j] != quoteChar || (j + 1 < len && v[j + 1] == quoteChar)))
                    j += v[j] == quoteChar ? 2 : 1;
                std::string item;
                const size_t stop = std::min(j, len);
                for (size_t k = i + 1; k < stop; ++k) {
                    item += v[k];
                    if (v[k] == quoteChar && k + 1 < stop && v[k + 1] == quoteChar) ++k;
                }
                Add(item);
                i = j + 1;
            } else {
                size_t j = i;
                while (j < len && !isSpace(j) && v[j] != delimiter) ++j;
                Add(v.substr(i, j - i));
                i = j;
            }
        } else if (notFirst) {
            Add("");
        }
        while (i < len && isSpace(i)) ++i;
        notFirst = true;
    }
}

std::string StringList::DelimitedText() const { return delimitedText(delimiter_, quoteChar_, strictDelimiter_); }
void StringList::SetDelimitedText(std::string_view text) {
    setDelimitedText(text, delimiter_, quoteChar_, strictDelimiter_);
}
std::string StringList::CommaText() const { return delimitedText(',', '"', false); }
void StringList::SetCommaText(std::string_view text) { setDelimitedText(text, ',', '"', false); }

std::string StringList::Name(int32_t index) const {
    const std::string& t = Get(index);
    const size_t p = t.find(nameValueSeparator_);
    return p == std::string::npos ? std::string() : t.substr(0, p);
}

std::string StringList::Value(std::string_view name) const {
    const int32_t i = IndexOfName(name);
    if (i < 0) return {};
    const std::string& t = items_[static_cast<size_t>(i)].text;
    return t.substr(t.find(nameValueSeparator_) + 1);
}

void StringList::SetValue(std::string_view name, std::string_view value) {
    std::string line(name);
    line += nameValueSeparator_;
    line += value;
    const int32_t i = IndexOfName(name);
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

std::string StringList::ValueFromIndex(int32_t index) const {
    const std::string& t = Get(index);
    const size_t p = t.find(nameValueSeparator_);
    return p == std::string::npos ? t : t.substr(p + 1);
}

void StringList::SetValueFromIndex(int32_t index, std::string_view value) {
    if (value.empty()) {
        Delete(index);
        return;
    }
    if (index < 0) index = Add("");
    std::string line = Name(index);
    line += nameValueSeparator_;
    line += value;
    Put(index, line);
}

}  // namespace pelo::lang::rtl
