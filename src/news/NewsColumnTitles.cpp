#include "news/NewsColumnTitles.h"

#include <limits>

#include "news/ListViewRecords.h"
#include "news/ProcessMemMgr.h"
#include "core/SystemErrors.h"

namespace pelo::news {

// Non-ASCII titles are spelled out byte by byte; the comment shows how they read in their code page.
const std::array<TNewsColumnTitlePair, NewsColumnTitlePairCount> NewsColumnTitles{{
    {"Time", "Headline", 0},
    {"Zaman", "\x42\x61\xFE\x6C\xFD\x6B", 1254},  // Zaman / Başlık
    {"Tid", "Rubrik", 0},
    {"Tiempo", "Titular", 0},
    {"\xC8\x61\x73", "Nadpis", 1250},  // Čas / Nadpis
    {"Vrijeme", "Naslov", 0},
    {"\xC2\xF0\xE5\xEC\xFF", "\xD2\xE5\xEC\xE0", 1251},  // Время / Тема
    {"\x48\x6F\x72\xE1\x72\x69\x6F", "Manchete", 1252},  // Horário / Manchete
    {"Czas", "\x4E\x61\x67\xB3\xF3\x77\x65\x6B", 1250},  // Czas / Nagłówek
    {"\xD6\xE0\xE3", "\xD1\xFD\xE4\xFD\xE2", 1251},  // Цаг / Сэдэв
    {"Laikas", "\x41\x6E\x74\x72\x61\xF0\x74\xEB", 1257},  // Laikas / Antraštė
    {"Laiks", "Tema", 0},
    {"\xBD\xC3\xB0\xA3", "\xC1\xA6\xB8\xF1", 949},  // 시간 / 제목
    {"\x8E\x9E\x8A\xD4", "\x83\x77\x83\x62\x83\x68\x83\x89\x83\x43\x83\x93", 932},  // 時間 / ヘッドライン
    {"Data/Orario", "Notizia", 0},
    {"Waktu", "Headline", 0},
    {"\x49\x64\xF5", "\x43\xED\x6D", 1250},  // Idő / Cím
    {"\xE6\xEE\xEF", "\xEB\xE5\xFA\xF8\xFA", 1255},  // זמן / כותרת
    {"\xD9\xF1\xE1", "\xC5\xF0\xE9\xEA\xE5\xF6\xE1\xEB\xDF\xE4\xE1", 1253},  // Ωρα / Επικεφαλίδα
    {"Zeit", "\xDC\x62\x65\x72\x73\x63\x68\x72\x69\x66\x74", 1252},  // Zeit / Überschrift
    {"\x44\x61\x74\x65\x20\x65\x78\xE9\x63\x75\x74\x69\x6F\x6E", "Entete", 1252},  // Date exécution / Entete
    {"\xD2\xE3\xC7\xE4", "Headline", 1256},  // زمان / Headline
    {"Aeg", "Pealkiri", 0},
    {"Tijd", "Headline", 0},
    {"Tid", "Overskrift", 0},
    {"\xAE\xC9\xB6\xA1", "\xBC\xD0\xC3\x44", 950},  // 時間 / 標題
    {"\xCA\xB1\xBC\xE4", "\xB1\xEA\xCC\xE2", 936},  // 时间 / 标题
    {"\xC2\xF0\xE5\xEC\xE5", "\xC7\xE0\xE3\xEB\xE0\xE2\xE8\xE5", 1251},  // Време / Заглавие
    {"\xD2\xE3\xE4", "\xDA\xE4\xE6\xC7\xE4", 1256},  // زمن / عنوان
}};

std::optional<int> MatchNewsColumns(int columnCount, std::string_view title0, std::string_view title1)
{
    if (columnCount != 2 && columnCount != 3)
        return std::nullopt;
    // Headline first, then Time: some terminals show the columns in that order.
    for (const TNewsColumnTitlePair& pair : NewsColumnTitles)
        if (title1 == pair.Time && title0 == pair.Headline)
            return 0;
    for (const TNewsColumnTitlePair& pair : NewsColumnTitles)
        if (title0 == pair.Time && title1 == pair.Headline)
            return 1;
    return std::nullopt;
}

std::uint32_t ToRecordAddress(RemoteAddress address)
{
    if (address > std::numeric_limits<std::uint32_t>::max())
        throw EAssertionFailed("list-view record address does not fit in 32 bits");
    return static_cast<std::uint32_t>(address);
}

std::optional<int> CheckNewsColumns(TProcessMemMgr& memory, IListViewMessages& listView)
{
    constexpr std::uint32_t TitleBufferSize = 1024;
    const RemoteAddress remoteTitle = memory.AllocMem(TitleBufferSize);
    const RemoteAddress remoteColumn = memory.AllocMem(TListColumnRecord::Size);
    const TListColumnRecord::Bytes request = MakeTitleColumnRecord(ToRecordAddress(remoteTitle)).Encode();

    // Counting stops once the list has more columns than a news list can have: the answer is known by then,
    // and a list that never stops answering cannot keep us here.
    constexpr int CountLimit = 4;
    int columnCount = 0;
    std::string titles[2];
    while (columnCount < CountLimit) {
        memory.WriteMem(request.data(), remoteColumn, request.size());
        if (!listView.GetColumn(columnCount, remoteColumn))
            break;
        if (columnCount < 2) {
            TListColumnRecord::Bytes answer{};
            memory.ReadMem(remoteColumn, answer.data(), answer.size());
            // The list may point pszText at its own storage instead of filling our buffer.
            titles[columnCount] = memory.ReadStr(TListColumnRecord::Decode(answer).Text, TitleBufferSize);
        }
        ++columnCount;
    }
    memory.FreeMem(remoteColumn);
    memory.FreeMem(remoteTitle);
    return MatchNewsColumns(columnCount, titles[0], titles[1]);
}

}  // namespace pelo::news
