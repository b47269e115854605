// Randomly generated inputs run through the reference engine (psoracle); the data files hold its output.
#include "lang/rtl/ConvertRoutines.h"
#include "lang/rtl/DateTimeRoutines.h"
#include "lang/rtl/ScriptError.h"
#include "lang/rtl/StringList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace {

using namespace pelo::lang::rtl;

std::string unhex(const std::string& h) {
    std::string r;
    if (h == "-") return r;
    for (size_t i = 0; i + 1 < h.size(); i += 2) r += static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16));
    return r;
}

// Calls check(fields..., expected) for each data line split at its first `fields` tabs; returns the count.
int forEachCase(const char* file, int fields,
                const std::function<void(const std::vector<std::string>&, const std::string&)>& check) {
    std::ifstream in(std::string(PELO_TEST_DATA_DIR) + "/" + file);
    EXPECT_TRUE(in.good()) << file;
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> parts;
        size_t start = 0;
        for (int i = 0; i < fields; ++i) {
            const size_t tab = line.find('\t', start);
            if (tab == std::string::npos) {
                ADD_FAILURE() << "bad line: " << line;
                return count;
            }
            parts.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        check(parts, line.substr(start));
        ++count;
    }
    return count;
}

TEST(RecordedCases, IntegerText) {
    const int n = forEachCase("integer_text.txt", 1, [](const std::vector<std::string>& f, const std::string& want) {
        const std::string text = unhex(f[0]);
        EXPECT_EQ(std::to_string(StrToIntDef(text, 77)) + " " + std::to_string(StrToInt64Def(text, 77)), want)
            << f[0];
    });
    EXPECT_EQ(n, 600);
}

TEST(RecordedCases, FormatAndDecodeDateTime) {
    const int n = forEachCase("format_date_time.txt", 2, [](const std::vector<std::string>& f, const std::string& want) {
        const std::string format = unhex(f[0]);
        const double value = std::strtod(f[1].c_str(), nullptr);
        std::string got;
        try {
            uint16_t y, m, d, h, mi, s, ms;
            DecodeDate(value, y, m, d);
            DecodeTime(value, h, mi, s, ms);
            got = FormatDateTime(format, value) + "|" + std::to_string(y) + "-" + std::to_string(m) + "-" +
                  std::to_string(d) + " " + std::to_string(h) + ":" + std::to_string(mi) + ":" + std::to_string(s) +
                  "." + std::to_string(ms) + " " + std::to_string(DayOfWeek(value)) + " " +
                  std::to_string(DateTimeToUnix(value));
        } catch (const ScriptError& e) {
            got = std::string("err ") + e.what();
        }
        EXPECT_EQ(got, want) << "format " << format << " value " << f[1];
    });
    EXPECT_EQ(n, 500);
}

TEST(RecordedCases, CommaAndDelimitedText) {
    StringList l("\n");
    const int n = forEachCase("delimited_text.txt", 1, [&](const std::vector<std::string>& f, const std::string& want) {
        const std::string text = unhex(f[0]);
        auto items = [&] {
            std::string r = std::to_string(l.Count()) + ":";
            for (int32_t k = 0; k < l.Count(); ++k) r += "<" + l.Get(k) + ">";
            return r;
        };
        l.SetCommaText(text);
        std::string got = items() + " " + l.CommaText();
        l.SetDelimiter(';');
        l.SetQuoteChar('\'');
        l.SetDelimitedText(text);
        got += " " + items() + " " + l.DelimitedText();
        l.SetDelimiter(',');
        l.SetQuoteChar('"');
        EXPECT_EQ(got, want) << f[0];
    });
    EXPECT_EQ(n, 400);
}

}  // namespace
