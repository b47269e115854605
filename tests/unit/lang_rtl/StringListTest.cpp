// TStringList behaviour; expected lists and texts were produced by the reference engine (psoracle).
#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringList.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace pelo::lang::rtl;

std::string joined(const StringList& l) {
    std::string r = std::to_string(l.Count()) + ":";
    for (int32_t i = 0; i < l.Count(); ++i) r += "<" + l.Get(i) + ">";
    return r;
}

StringList listOf(std::initializer_list<const char*> items) {
    StringList l("\n");
    for (const char* s : items) l.Add(s);
    return l;
}

std::string errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Exception);
        return e.what();
    }
    return "(no error)";
}

TEST(StringList, AddIndexOfAndCaseSensitivity) {
    StringList l = listOf({"pear"});
    EXPECT_EQ(l.Add("Apple"), 1);
    l.Add("banana");
    l.Add("cherry");
    EXPECT_EQ(l.Get(1), "Apple");
    EXPECT_EQ(l.IndexOf("apple"), 1);
    EXPECT_EQ(l.IndexOf("kiwi"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("apple"), -1);
}

TEST(StringList, SortOrders) {
    StringList l = listOf({"b", "_", "A", "a", "B", "[", "z", "Z", "\xC3\xA4", "10", "9", "-x", "x"});
    l.Sort();
    // case-insensitive order folds to lower case, so '[' and '_' come before the letters; strings that
    // compare equal keep their insertion order here (the reference's order for them is arbitrary)
    EXPECT_EQ(joined(l), "13:<-x><10><9><[><_><A><a><b><B><x><z><Z><\xC3\xA4>");
    l.SetCaseSensitive(true);
    l.Sort();
    EXPECT_EQ(joined(l), "13:<-x><10><9><A><B><Z><[><_><a><b><x><z><\xC3\xA4>");
}

TEST(StringList, SortedListsAndFind) {
    StringList l = listOf({"pear", "Apple", "banana", "cherry"});
    l.Sort();
    EXPECT_EQ(joined(l), "4:<Apple><banana><cherry><pear>");
    l.SetSorted(true);
    l.Add("avocado");
    int32_t idx = -5;
    EXPECT_TRUE(l.Find("banana", idx));
    EXPECT_EQ(idx, 2);
    EXPECT_FALSE(l.Find("blueberry", idx));
    EXPECT_EQ(idx, 3);
    EXPECT_EQ(l.IndexOf("CHERRY"), 3);

    StringList u = listOf({"c", "a", "b"});
    EXPECT_EQ(errorOf([&] { u.Find("b", idx); }), "Cannot use find on unsorted list");
    u.SetSorted(true);
    EXPECT_TRUE(u.Find("B", idx));
    EXPECT_EQ(idx, 1);
    u.SetCaseSensitive(true);
    EXPECT_FALSE(u.Find("B", idx));
    EXPECT_EQ(idx, 0);
}

TEST(StringList, DuplicatesOnSortedLists) {
    StringList l("\n");
    l.SetSorted(true);
    l.Add("b");
    l.Add("a");
    EXPECT_EQ(l.Add("B"), 1);  // Ignore: the existing index
    EXPECT_EQ(joined(l), "2:<a><b>");
    l.SetDuplicates(Duplicates::Accept);
    EXPECT_EQ(l.Add("B"), 1);
    EXPECT_EQ(joined(l), "3:<a><B><b>");
    l.SetDuplicates(Duplicates::Error);
    EXPECT_EQ(errorOf([&] { l.Add("a"); }), "String list does not allow duplicates");
    EXPECT_EQ(errorOf([&] { l.Insert(0, "zz"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(errorOf([&] { l.Put(0, "zzz"); }), "Operation not allowed on sorted list");
    l.Exchange(0, 1);  // allowed although it breaks the order
    EXPECT_EQ(joined(l), "3:<B><a><b>");

    // unsorted lists accept anything; sorting later keeps duplicates even with Error
    StringList m("\n");
    m.SetDuplicates(Duplicates::Error);
    m.Add("x");
    m.Add("x");
    m.SetSorted(true);
    EXPECT_EQ(joined(m), "2:<x><x>");
    // a list that stops being sorted keeps appending at the end, and sorts again when switched back
    StringList n = listOf({"b", "a", "c"});
    n.SetSorted(true);
    n.SetSorted(false);
    n.Add("0");
    EXPECT_EQ(joined(n), "4:<a><b><c><0>");
    n.SetSorted(true);
    EXPECT_EQ(joined(n), "4:<0><a><b><c>");
}

TEST(StringList, IndexErrorsAndMoveSemantics) {
    StringList l = listOf({"B", "a", "b"});
    EXPECT_EQ(errorOf([&] { l.Delete(-1); }), "List index (-1) out of bounds");
    EXPECT_EQ(errorOf([&] { l.Insert(99, "x"); }), "List index (99) out of bounds");
    EXPECT_EQ(errorOf([&] { l.Insert(-1, "x"); }), "List index (-1) out of bounds");
    l.Insert(l.Count(), "end");
    EXPECT_EQ(joined(l), "4:<B><a><b><end>");
    EXPECT_EQ(errorOf([&] { l.Put(4, "x"); }), "List index (4) out of bounds");
    EXPECT_EQ(errorOf([&] { (void)l.Get(10); }), "List index (10) out of bounds");
    EXPECT_EQ(errorOf([&] { l.Exchange(0, 50); }), "List index (50) out of bounds");
    EXPECT_EQ(joined(l), "4:<B><a><b><end>");
    // Move deletes before it inserts: the failed move loses the item, as in the reference
    EXPECT_EQ(errorOf([&] { l.Move(0, 50); }), "List index (50) out of bounds");
    EXPECT_EQ(joined(l), "3:<a><b><end>");
    l.Move(0, 2);
    EXPECT_EQ(joined(l), "3:<b><end><a>");
    l.Delete(1);
    l.Insert(1, "fig");
    EXPECT_EQ(joined(l), "3:<b><fig><a>");
    EXPECT_EQ(errorOf([&] { l.Move(5, 5); }), "List index (5) out of bounds");
    l.SetSorted(true);
    EXPECT_EQ(errorOf([&] { l.Put(7, "x"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(errorOf([&] { l.Move(0, 1); }), "Operation not allowed on sorted list");
    EXPECT_EQ(l.Count(), 2);
}

TEST(StringList, TextUsesTheLineBreakAndSplitsAnyBreak) {
    StringList l("\n");
    l.Add("x");
    l.Add("y");
    EXPECT_EQ(l.Text(), "x\ny\n");
    EXPECT_EQ(l.Capacity(), 4);
    StringList w;  // the program's default: CR LF
    w.Add("x");
    EXPECT_EQ(w.Text(), "x\r\n");
    const std::pair<std::string_view, const char*> splits[] = {
        {"a\r\nb", "2:<a><b>"}, {"a\rb", "2:<a><b>"}, {"a\n\rb", "3:<a><><b>"}, {"a\n\nb", "3:<a><><b>"},
        {"", "0:"},             {"a\r\n", "1:<a>"},   {"\r\n", "1:<>"},          {"l1\r\nl2\nl3", "3:<l1><l2><l3>"},
    };
    for (const auto& [text, want] : splits) {
        l.SetText(text);
        EXPECT_EQ(joined(l), want);
    }
    l.SetText("a");
    l.SetText(l.Text() + "b");
    EXPECT_EQ(joined(l), "2:<a><b>");
}

TEST(StringList, CommaTextReading) {
    const std::pair<std::string_view, const char*> cases[] = {
        {"a,b,c", "3:<a><b><c>"},         {" a , b ,c ", "3:<a><b><c>"},      {"a b c", "3:<a><b><c>"},
        {"\"a b\",c", "2:<a b><c>"},      {"\"a\"\"b\",c", "2:<a\"b><c>"},    {"a,,b", "3:<a><><b>"},
        {",a,", "3:<><a><>"},             {"", "0:"},                         {"\"x\"y,z", "3:<x><y><z>"},
        {"x\"y\",z", "2:<x\"y\"><z>"},    {"\"unterminated,a", "1:<unterminated,a>"},
        {"a\tb", "2:<a><b>"},             {"\"\"", "1:<>"},                   {" ", "0:"},
        {"\"a\",  \"b\"", "2:<a><b>"},    {"a;b", "1:<a;b>"},                 {"\"a\"b\"c\",d", "3:<a><b\"c\"><d>"},
        {"a,\"b", "2:<a><b>"},            {"a, ,b", "3:<a><><b>"},            {"\"\",", "2:<><>"},
        {"a,", "2:<a><>"},                {"a , ", "2:<a><>"},                {"\"a\" x", "2:<a><x>"},
        {",,", "3:<><><>"},               {" ,", "2:<><>"},                   {"a ,,b", "3:<a><><b>"},
        {"\"a\"\"\"", "1:<a\">"},
    };
    StringList l("\n");
    for (const auto& [text, want] : cases) {
        l.Add("stale");
        l.SetCommaText(text);
        EXPECT_EQ(joined(l), want) << text;
    }
}

TEST(StringList, CommaAndDelimitedTextWriting) {
    EXPECT_EQ(listOf({"one", "two words", "three", "has,comma"}).CommaText(), "one,\"two words\",three,\"has,comma\"");
    EXPECT_EQ(listOf({"x\"y\"", "z"}).CommaText(), "\"x\"\"y\"\"\",z");
    EXPECT_EQ(listOf({"a\"b", "c d", "e\tf", "g,h", "", "x"}).CommaText(), "\"a\"\"b\",\"c d\",\"e\tf\",\"g,h\",,x");
    EXPECT_EQ(listOf({""}).CommaText(), "\"\"");
    EXPECT_EQ(listOf({"", ""}).CommaText(), ",");
    EXPECT_EQ(listOf({}).CommaText(), "");

    StringList l("\n");
    l.SetDelimiter(';');
    l.SetQuoteChar('\'');
    const std::tuple<std::string_view, const char*, const char*> cases[] = {{"a;b;c", "3:<a><b><c>", "a;b;c"},
                                                                            {"a b;c", "3:<a><b><c>", "a;b;c"},
                                                                            {"'a;b';c", "2:<a;b><c>", "'a;b';c"},
                                                                            {"a,b;c", "2:<a,b><c>", "a,b;c"}};
    for (const auto& [text, want, back] : cases) {
        l.SetDelimitedText(text);
        EXPECT_EQ(joined(l), want) << text;
        EXPECT_EQ(l.DelimitedText(), back);
    }
    // CommaText ignores the delimiter and quote properties
    EXPECT_EQ(l.CommaText(), "\"a,b\",c");

    StringList m = listOf({"x", "y", "a|b"});
    m.SetDelimiter('|');
    EXPECT_EQ(m.DelimitedText(), "x|y|\"a|b\"");
    StringList s = listOf({"a b", "c"});
    s.SetDelimiter(' ');
    EXPECT_EQ(s.DelimitedText(), "\"a b\" c");
    StringList q("\n");
    q.SetQuoteChar('\0');
    q.SetDelimitedText("\"a b\",c");
    EXPECT_EQ(joined(q), "3:<\"a><b\"><c>");
}

// The reference build does not offer StrictDelimiter to scripts; this pins the C++ option down.
TEST(StringList, StrictDelimiterKeepsSpaces) {
    StringList l("\n");
    l.SetStrictDelimiter(true);
    l.SetDelimitedText(" a b ,\"c\",");
    EXPECT_EQ(joined(l), "3:< a b ><c><>");
    EXPECT_EQ(l.DelimitedText(), " a b ,c,");
}

TEST(StringList, NamesAndValues) {
    StringList l = listOf({"ticker=ACME", "price=12.5"});
    l.SetValue("volume", "300");
    l.SetValue("price", "13");
    EXPECT_EQ(l.Value("ticker"), "ACME");
    EXPECT_EQ(l.Value("price"), "13");
    EXPECT_EQ(l.Value("nope"), "");
    EXPECT_EQ(l.Name(2), "volume");
    EXPECT_EQ(l.IndexOfName("VOLUME"), 2);

    StringList m = listOf({"k=v", "K2=v2", "noeq", "=empty", "a=b=c"});
    EXPECT_EQ(m.Name(0), "k");
    EXPECT_EQ(m.Name(2), "");
    EXPECT_EQ(m.Name(3), "");
    EXPECT_EQ(m.Name(4), "a");
    EXPECT_EQ(m.Value("K"), "v");
    EXPECT_EQ(m.Value("k2"), "v2");
    EXPECT_EQ(m.Value("a"), "b=c");
    EXPECT_EQ(m.Value(""), "empty");
    EXPECT_EQ(m.Value("noeq"), "");
    EXPECT_EQ(m.ValueFromIndex(2), "noeq");
    EXPECT_EQ(m.ValueFromIndex(4), "b=c");
    m.SetValue("k", "");  // keeps the entry with an empty value
    EXPECT_EQ(joined(m), "5:<k=><K2=v2><noeq><=empty><a=b=c>");
    m.SetValue("new", "x");
    m.SetValueFromIndex(0, "V2");
    EXPECT_EQ(joined(m), "6:<k=V2><K2=v2><noeq><=empty><a=b=c><new=x>");
    m.SetNameValueSeparator(':');
    m.Add("p:q");
    EXPECT_EQ(m.Value("p"), "q");
    EXPECT_EQ(m.IndexOfName("P"), 6);
    EXPECT_EQ(errorOf([&] { (void)m.Name(99); }), "List index (99) out of bounds");
    EXPECT_EQ(m.IndexOf("K2=V2"), 1);
    EXPECT_EQ(errorOf([&] { m.SetValueFromIndex(99, "v"); }), "List index (99) out of bounds");
    m.SetValueFromIndex(-1, "z");  // appends
    EXPECT_EQ(m.Get(m.Count() - 1), ":z");
    m.SetValueFromIndex(0, "");  // deletes
    EXPECT_EQ(m.Get(0), "K2=v2");
}

TEST(StringList, CapacityGrowsLikeTheReferenceAndTruncates) {
    StringList l("\n");
    std::string seen = std::to_string(l.Capacity());
    for (int i = 1; i <= 400; ++i) {
        l.Add("x");
        if (i == 1 || i == 5 || i == 16 || i == 17 || i == 65 || i == 257 || i == 321) seen += " " + std::to_string(l.Capacity());
    }
    EXPECT_EQ(seen, "0 4 16 16 64 256 320 400");
    l.SetCapacity(10);
    EXPECT_EQ(l.Capacity(), 10);
    EXPECT_EQ(l.Count(), 10);
    EXPECT_EQ(errorOf([&] { l.SetCapacity(-1); }), "List capacity (-1) exceeded.");
    l.Clear();
    l.SetCapacity(50);
    EXPECT_EQ(l.Capacity(), 50);
}

TEST(StringList, ObjectsAddStringsAndEquals) {
    StringList l = listOf({"a"});
    l.AddStrings(l);
    EXPECT_EQ(joined(l), "2:<a><a>");
    EXPECT_TRUE(l.Equals(l));
    StringList other = listOf({"a", "A"});
    EXPECT_FALSE(l.Equals(other));
    const int32_t i = l.AddObject("obj", 42);
    EXPECT_EQ(l.GetObject(i), 42u);
    EXPECT_EQ(l.IndexOfObject(42), i);
    l.InsertObject(0, "first", 7);
    l.Move(0, 2);
    EXPECT_EQ(l.GetObject(2), 7u);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Capacity(), 0);
}

}  // namespace
