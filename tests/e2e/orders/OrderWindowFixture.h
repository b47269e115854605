#pragma once
// The simulated order windows (orderwin.exe): windows of a class and title of the test's choosing, each with a Buy
// and a Sell button, that log every press they receive with its place and time.
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/Driver.h"

namespace pelo::e2e {

inline constexpr const wchar_t* kOrderClass = L"TOrderTest";
// The buttons' places in each window's client area (fixed by orderwin.exe).
inline constexpr POINT kBuyInClient{55, 80};
inline constexpr POINT kSellInClient{155, 80};

struct OrderWindowInfo {
    HWND hwnd = nullptr;
    RECT bounds{};
    POINT client{};  // screen place of the client area's origin
    POINT Screen(POINT inClient) const { return {client.x + inClient.x, client.y + inClient.y}; }
};

struct OrderClick {
    int window = -1;
    std::string target;  // Buy, Sell or window
    int x = 0, y = 0;    // in the window's client area
    double ms = 0;       // performance-counter time in milliseconds
};

inline std::string Field(const std::string& line, const std::string& name) {
    const std::string key = " " + name + "=";
    const size_t at = line.find(key);
    if (at == std::string::npos) return "";
    const size_t start = at + key.size();
    return line.substr(start, line.find(' ', start) - start);
}

class OrderWindows {
public:
    // windows: "LEFT,TOP" or "LEFT,TOP,TITLE" each.
    bool Start(const std::vector<std::wstring>& windows, const std::wstring& title = L"Order") {
        log_ = L"C:\\orderwin-" + std::to_wstring(GetTickCount()) + L".log";
        std::wstring args = L"--class " + std::wstring(kOrderClass) + L" --title \"" + title + L"\" --log " + log_;
        for (const auto& w : windows) args += L" \"" + w + L"\"";
        process_ = Process::Start(FixturesDir() + L"\\orderwin.exe", args);
        if (!WaitUntil([&] { return Lines("ready").size() == 1; }, 15000)) return false;
        for (const std::string& line : Lines("window")) {
            OrderWindowInfo w;
            w.hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(Field(line, "hwnd"))));
            w.bounds = {std::stoi(Field(line, "left")), std::stoi(Field(line, "top")), std::stoi(Field(line, "right")),
                        std::stoi(Field(line, "bottom"))};
            w.client = {std::stoi(Field(line, "clientleft")), std::stoi(Field(line, "clienttop"))};
            windows_.push_back(w);
        }
        return windows_.size() == windows.size();
    }
    const OrderWindowInfo& operator[](size_t k) const { return windows_.at(k); }

    std::vector<OrderClick> Clicks() {
        std::vector<OrderClick> clicks;
        for (const std::string& line : Lines("click")) {
            OrderClick c;
            c.window = std::stoi(Field(line, "window"));
            c.target = Field(line, "target");
            c.x = std::stoi(Field(line, "x"));
            c.y = std::stoi(Field(line, "y"));
            c.ms = std::stod(Field(line, "qpc")) * 1000.0 / std::stod(Field(line, "freq"));
            clicks.push_back(c);
        }
        return clicks;
    }
    bool WaitForClicks(size_t count, DWORD timeoutMs = 5000) {
        return WaitUntil([&] { return Clicks().size() >= count; }, timeoutMs);
    }

private:
    std::vector<std::string> Lines(const std::string& kind) {
        std::vector<std::string> lines;
        const auto bytes = ReadFileBytes(log_);
        if (!bytes) return lines;
        std::istringstream in(std::string(bytes->begin(), bytes->end()));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind(kind + " ", 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    Process process_;
    std::wstring log_;
    std::vector<OrderWindowInfo> windows_;
};

}  // namespace pelo::e2e
