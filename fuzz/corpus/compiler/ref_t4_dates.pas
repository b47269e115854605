{ From the reference runner's own tests: uPSC_dateutils/uPSR_dateutils.  TDateTime is a Double: days since
  1899-12-30, time as the fraction.  Only explicit FormatDateTime patterns
  are used for checks that must not depend on locale defaults. }
var
  d, t, dt: TDateTime;
  y, m, dd, h, mi, se, ms: Word;
  ok: Boolean;

function D2S(x: TDateTime): string;
begin
  Result := FormatDateTime('yyyy-mm-dd hh:nn:ss', x);
end;

begin
  { serial numbers }
  WriteLn('epoch serial=' + IntToStr(Trunc(EncodeDate(1899, 12, 30)))
    + ' 2000-01-01 serial=' + IntToStr(Trunc(EncodeDate(2000, 1, 1))));

  { EncodeDate + EncodeTime, FormatDateTime tokens }
  d := EncodeDate(2024, 2, 29);
  t := EncodeTime(13, 5, 9, 250);
  dt := d + t;
  WriteLn('iso=' + FormatDateTime('yyyy-mm-dd hh:nn:ss.zzz', dt));
  WriteLn('short tokens=' + FormatDateTime('d/m/yy h:n:s', dt));
  WriteLn('names=' + FormatDateTime('dddd, d mmmm yyyy', dt) + ' | ' + FormatDateTime('ddd mmm', dt));
  WriteLn('ampm=' + FormatDateTime('h:nn am/pm', dt) + ' | ' + FormatDateTime('hh:nn a/p', EncodeTime(0, 30, 0, 0)));
  WriteLn('literal=' + FormatDateTime('"Q:" yyyy', dt));

  { DayOfWeek: Sunday = 1 .. Saturday = 7 }
  WriteLn('dow sun=' + IntToStr(DayOfWeek(EncodeDate(2024, 3, 3)))
    + ' thu=' + IntToStr(DayOfWeek(dt)) + ' sat=' + IntToStr(DayOfWeek(EncodeDate(2024, 3, 9))));

  { DecodeDate / DecodeTime through var parameters }
  DecodeDate(dt, y, m, dd);
  DecodeTime(dt, h, mi, se, ms);
  WriteLn('decode=' + IntToStr(y) + '/' + IntToStr(m) + '/' + IntToStr(dd) + ' '
    + IntToStr(h) + ':' + IntToStr(mi) + ':' + IntToStr(se) + '.' + IntToStr(ms));

  { arithmetic across month / year / leap-day boundaries }
  WriteLn('plus1=' + D2S(d + 1) + ' minus60=' + D2S(d - 60) + ' next leap=' + D2S(EncodeDate(2028, 2, 28) + 1));
  WriteLn('days 2024=' + IntToStr(Trunc(EncodeDate(2025, 1, 1) - EncodeDate(2024, 1, 1)))
    + ' days 2100=' + IntToStr(Trunc(EncodeDate(2101, 1, 1) - EncodeDate(2100, 1, 1))));
  WriteLn('half day=' + D2S(EncodeDate(2024, 1, 1) + 0.5));

  { Try* variants return False instead of raising }
  ok := TryEncodeDate(2023, 2, 29, d);
  if ok then WriteLn('try 2023-02-29 ok') else WriteLn('try 2023-02-29 rejected');
  ok := TryEncodeTime(24, 0, 0, 0, t);
  if ok then WriteLn('try 24:00 ok') else WriteLn('try 24:00 rejected');
  ok := TryEncodeDate(2000, 2, 29, d);
  if ok then WriteLn('try 2000-02-29 ok ' + D2S(d));

  { EncodeDate raises a host exception on invalid input }
  try
    d := EncodeDate(2024, 13, 1);
    WriteLn('not reached');
  except
    WriteLn('encode invalid raised, type=' + IntToStr(Ord(ExceptionType)));
  end;

  { Unix time conversion }
  WriteLn('unix 2000=' + IntToStr(DateTimeToUnix(EncodeDate(2000, 1, 1)))
    + ' from unix=' + D2S(UnixToDateTime(1700000000)));

  { Now / Date / Time are only sanity-checked (not deterministic) }
  if (Now >= Date) and (Now - Date < 1) and (Time < 1) then WriteLn('now sane');
end.
