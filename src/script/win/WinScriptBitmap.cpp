#include "script/win/WinScriptBitmap.h"

#include <algorithm>
#include <cstring>

#include "script/win/WinScriptObjects.h"
#include "ui/win/WinText.h"

namespace pelo::script {
namespace {

// Pictures beyond this many pixels (64 MB at 32 bits each) are refused rather than half made.
constexpr int64_t kMaxPixels = int64_t{16} * 1024 * 1024;
constexpr int32_t kMaxSide = 32767;

uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }

void PutU16(std::string& b, size_t at, uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void PutU32(std::string& b, size_t at, uint32_t v) {
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

}  // namespace

WinScriptBitmap::WinScriptBitmap(const lang::HostClass* cls, const WinScriptWindows::Setup& setup)
    : ScriptBitmap(cls), dc_(CreateCompatibleDC(nullptr)), font_(Hold(new StandInFont(setup.FontClass))),
      canvas_(Hold(new WinScriptCanvas(setup, *this))) {}

WinScriptBitmap::~WinScriptBitmap() {
    if (original_) SelectObject(dc_, original_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    Drop(canvas_);
    Drop(font_);
}

void WinScriptBitmap::dispose() {
    onChange = nullptr;
    ScriptBitmap::dispose();
}

HBITMAP WinScriptBitmap::NewPicture(int32_t width, int32_t height, void** bits) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP made = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!made) throw lang::hostException("Out of system resources");
    std::memset(*bits, 0xFF, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);  // white
    return made;
}

void WinScriptBitmap::Adopt(HBITMAP picture, void* bits, int32_t width, int32_t height) {
    HGDIOBJ was = SelectObject(dc_, picture ? static_cast<HGDIOBJ>(picture) : original_);
    if (!original_) original_ = was;
    if (bitmap_) DeleteObject(bitmap_);
    if (!picture) original_ = nullptr;
    bitmap_ = picture;
    bits_ = bits;
    width_ = picture ? width : 0;
    height_ = picture ? height : 0;
}

void WinScriptBitmap::SetSize(int32_t width, int32_t height) {
    width = std::clamp(width, 0, kMaxSide);
    height = std::clamp(height, 0, kMaxSide);
    if (width == width_ && height == height_) return;
    if (static_cast<int64_t>(width) * height > kMaxPixels) throw lang::hostException("Out of system resources");
    if (width == 0 || height == 0) {
        // No pixels, but the side that was set stays set, as the next one may follow.
        Adopt(nullptr, nullptr, 0, 0);
        width_ = width;
        height_ = height;
        Changed();
        return;
    }
    // What fits of the old picture is copied into the new one before it takes the old one's place.
    void* bits = nullptr;
    HBITMAP made = NewPicture(width, height, &bits);
    if (bitmap_) {
        HDC into = CreateCompatibleDC(dc_);
        HGDIOBJ was = SelectObject(into, made);
        BitBlt(into, 0, 0, std::min(width, width_), std::min(height, height_), dc_, 0, 0, SRCCOPY);
        SelectObject(into, was);
        DeleteDC(into);
    }
    Adopt(made, bits, width, height);
    Changed();
}

std::string WinScriptBitmap::ToBmp() const {
    // 24 bits a pixel, rows bottom-up and padded to 4 bytes: what every reader of .bmp files takes.
    const int32_t width = bits_ ? width_ : 0, height = bits_ ? height_ : 0;
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixels = stride * static_cast<uint32_t>(height);
    std::string file(54 + pixels, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<uint32_t>(file.size()));
    PutU32(file, 10, 54);
    PutU32(file, 14, 40);
    PutU32(file, 18, static_cast<uint32_t>(width));
    PutU32(file, 22, static_cast<uint32_t>(height));
    PutU16(file, 26, 1);
    PutU16(file, 28, 24);
    PutU32(file, 34, pixels);
    if (!bits_) return file;
    GdiFlush();  // drawing still queued must be in the pixels
    const auto* from = static_cast<const uint8_t*>(bits_);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = from + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        char* to = file.data() + 54 + static_cast<size_t>(height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            to[x * 3] = static_cast<char>(row[x * 4]);
            to[x * 3 + 1] = static_cast<char>(row[x * 4 + 1]);
            to[x * 3 + 2] = static_cast<char>(row[x * 4 + 2]);
        }
    }
    return file;
}

bool WinScriptBitmap::FromBmp(const std::string& b) {
    // Everything the system is handed is checked against the file's size first: the file is the script's.
    constexpr size_t kFileHeader = 14;
    if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t pixelsAt = U32(b, 10);
    const uint32_t headerSize = U32(b, 14);
    if (headerSize < 40 || headerSize > 124 || kFileHeader + headerSize > b.size()) return false;
    const int32_t width = static_cast<int32_t>(U32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(U32(b, 22));
    const uint16_t planes = U16(b, 26), bits = U16(b, 28);
    const uint32_t compression = U32(b, 30), colorsUsed = U32(b, 46);
    if (planes != 1 || width <= 0 || width > kMaxSide || rawHeight == 0 || rawHeight < -kMaxSide || rawHeight > kMaxSide)
        return false;
    const int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (static_cast<int64_t>(width) * height > kMaxPixels) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32))) return false;
    // The colour table (or the three masks) right after the header.
    uint64_t table = 0;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (colorsUsed > most) return false;
        table = uint64_t{4} * (colorsUsed ? colorsUsed : most);
    } else if (compression == BI_BITFIELDS && headerSize == 40) {
        table = 12;
    }
    const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    if (kFileHeader + headerSize + table > b.size() || pixelsAt < kFileHeader + headerSize ||
        uint64_t{pixelsAt} + stride * static_cast<uint64_t>(height) > b.size())
        return false;

    // The header handed on says exactly what was checked.
    std::string header = b.substr(kFileHeader, headerSize + static_cast<size_t>(table));
    PutU32(header, 20, 0);  // biSizeImage: worked out from the sizes above
    PutU32(header, 32, bits <= 8 ? static_cast<uint32_t>(table / 4) : 0);
    void* pixels = nullptr;
    HBITMAP made = NewPicture(width, height, &pixels);
    if (SetDIBits(dc_, made, 0, static_cast<UINT>(height), b.data() + pixelsAt,
                  reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS) == 0) {
        DeleteObject(made);  // not a picture the system takes after all: the old one stays
        return false;
    }
    Adopt(made, pixels, width, height);
    Changed();
    return true;
}

void WinScriptBitmap::Draw(HDC dc, int x, int y, int width, int height) const {
    if (!bitmap_) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, dc_, 0, 0, width_, height_, SRCCOPY);
}

HFONT WinScriptBitmap::SurfaceFontHandle() {
    ui::FontSpec spec;
    spec.Name = ui::AnsiToWide(font_->Name());
    spec.Height = font_->Height();
    const uint32_t style = font_->Style();
    spec.Bold = (style & fsBold) != 0;
    spec.Italic = (style & fsItalic) != 0;
    spec.Underline = (style & fsUnderline) != 0;
    spec.Strikeout = (style & fsStrikeOut) != 0;
    if (!fontHandle_ || !(spec == fontSpec_)) {
        fontHandle_ = ui::Font(spec);
        fontSpec_ = spec;
    }
    return fontHandle_;
}

COLORREF WinScriptBitmap::SurfaceTextColor() const { return ColorFromTColor(font_->Color()); }

}  // namespace pelo::script
