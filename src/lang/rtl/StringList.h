#pragma once
// The TStringList class that scripts use: an ordered list of 8-bit strings, each with an object slot,
// optionally kept sorted, with Name=Value access and comma/delimited text forms.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelo::lang::rtl {

enum class Duplicates { Ignore, Accept, Error };  // TDuplicates: dupIgnore, dupAccept, dupError

class StringList {
public:
    using ObjectRef = std::uintptr_t;  // opaque object handle stored beside each string

    // Text joins lines with lineBreak; the Windows program uses CR LF.
    explicit StringList(std::string lineBreak = "\r\n");

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    const std::string& Get(int32_t index) const;  // Strings[index], the default property
    void Put(int32_t index, std::string_view s);
    ObjectRef GetObject(int32_t index) const;
    void PutObject(int32_t index, ObjectRef object);

    // Add appends, or inserts at the sorted position when Sorted (where Duplicates decides about an
    // equal string: Ignore returns the existing index, Error raises). Returns the index.
    int32_t Add(std::string_view s);
    int32_t AddObject(std::string_view s, ObjectRef object);
    void Append(std::string_view s) { Add(s); }
    void AddStrings(const StringList& other);
    void Insert(int32_t index, std::string_view s);  // 0..Count; not allowed on a sorted list
    void InsertObject(int32_t index, std::string_view s, ObjectRef object);
    void Delete(int32_t index);
    void Clear();
    void Exchange(int32_t index1, int32_t index2);
    // Move deletes first and then inserts, so a bad new index leaves the item deleted.
    void Move(int32_t curIndex, int32_t newIndex);

    int32_t IndexOf(std::string_view s) const;  // -1 when absent
    int32_t IndexOfObject(ObjectRef object) const;
    int32_t IndexOfName(std::string_view name) const;
    // Binary search on a sorted list: true when found; index is the match (the first one when duplicates
    // are accepted) or the insertion point. Raises on an unsorted list.
    bool Find(std::string_view s, int32_t& index) const;
    void Sort();  // does nothing on a Sorted list, which is always in order
    bool Equals(const StringList& other) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    Duplicates DuplicatesMode() const { return duplicates_; }
    void SetDuplicates(Duplicates value) { duplicates_ = value; }
    // Capacity grows 0, 4, 16, 64, 256, then by a quarter. Setting it below Count drops the items
    // beyond it; a negative value raises "List capacity (<n>) exceeded.".
    int32_t Capacity() const { return capacity_; }
    void SetCapacity(int32_t value);

    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char c) { delimiter_ = c; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char c) { quoteChar_ = c; }
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool value) { strictDelimiter_ = value; }

    // Every line followed by the line break. Setting splits at CR LF, LF and CR.
    std::string Text() const;
    void SetText(std::string_view text);
    // Items joined by Delimiter; items holding a control character, space, the quote or the delimiter
    // are quoted (quotes doubled). A single empty item gives two quotes.
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    // DelimitedText with ',' and '"' and non-strict splitting, whatever the properties say.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    std::string Name(int32_t index) const;  // Names[index]: text before the separator, '' without one
    std::string Value(std::string_view name) const;
    void SetValue(std::string_view name, std::string_view value);
    std::string ValueFromIndex(int32_t index) const;
    void SetValueFromIndex(int32_t index, std::string_view value);

    int Compare(std::string_view a, std::string_view b) const;  // by the list's case rule

private:
    struct Item {
        std::string text;
        ObjectRef object = 0;
    };

    void checkIndex(int32_t index, int32_t limit) const;
    void insertItem(int32_t index, std::string_view s, ObjectRef object);
    void sortItems();
    static std::string quote(std::string_view s, char quoteChar);
    std::string delimitedText(char delimiter, char quoteChar, bool strict) const;
    void setDelimitedText(std::string_view text, char delimiter, char quoteChar, bool strict);

    std::vector<Item> items_;
    std::string lineBreak_;
    int32_t capacity_ = 0;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    Duplicates duplicates_ = Duplicates::Ignore;
    char delimiter_ = ',';
    char quoteChar_ = '"';
    char nameValueSeparator_ = '=';
    bool strictDelimiter_ = false;
};

}  // namespace pelo::lang::rtl
