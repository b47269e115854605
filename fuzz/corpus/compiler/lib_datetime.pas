{ TDateTime is a Double counting days since 1899-12-30: EncodeDate/Time,
  DecodeDate/Time, DayOfWeek, DateToStr in the fixed dd/MM/yyyy format,
  FormatDateTime patterns, date arithmetic, Unix time, Try* variants. }
var
  d, t: TDateTime;
  y, m, dd, h, mi, s, ms: Word;
  ok: Boolean;
begin
  d := EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 10);
  WriteLn('serial=' + FloatToStr(d));
  WriteLn('datetostr=' + DateToStr(d));
  WriteLn('c=' + FormatDateTime('c', d) + ' ddddd=' + FormatDateTime('ddddd', d) + ' tt=' + FormatDateTime('tt', d));
  WriteLn('patterns ' + FormatDateTime('yy/mm/dd hh:nn:ss.zzz', d) + ' | ' + FormatDateTime('dd.mm.yyyy', d) + ' | ' + FormatDateTime('hh"h"nn', d)
    + ' | ' + FormatDateTime('mmm d, yyyy', d) + ' | ' + FormatDateTime('dddd', d));
  DecodeDate(d, y, m, dd);
  DecodeTime(d, h, mi, s, ms);
  WriteLn('decoded ' + IntToStr(y) + ' ' + IntToStr(m) + ' ' + IntToStr(dd) + ' ' + IntToStr(h) + ' ' + IntToStr(mi) + ' ' + IntToStr(s) + ' ' + IntToStr(ms));
  WriteLn('dayofweek tue=' + IntToStr(DayOfWeek(d)) + ' sun=' + IntToStr(DayOfWeek(EncodeDate(2024, 3, 10))));
  t := d + 30;
  WriteLn('plus 30 days=' + FormatDateTime('yyyy-mm-dd hh:nn', t));
  t := d - EncodeTime(8, 0, 0, 0);
  WriteLn('minus 8h=' + FormatDateTime('yyyy-mm-dd hh:nn', t));
  WriteLn('days between=' + IntToStr(Trunc(EncodeDate(2025, 1, 1) - EncodeDate(2024, 3, 5))));
  if EncodeDate(2024, 3, 5) < d then WriteLn('date compare');
  WriteLn('unix=' + IntToStr(DateTimeToUnix(EncodeDate(2024, 1, 1) + EncodeTime(12, 0, 0, 0))) + ' back=' + FormatDateTime('yyyy-mm-dd hh:nn:ss', UnixToDateTime(1704110400)));
  ok := TryEncodeDate(2024, 2, 30, t);
  if not ok then WriteLn('try 2024-02-30 rejected');
  ok := TryEncodeTime(23, 59, 59, 999, t);
  if ok then WriteLn('try 23:59:59.999 ok ' + FormatDateTime('hh:nn:ss.zzz', t));
  try
    t := EncodeTime(25, 0, 0, 0);
    WriteLn('not reached');
  except
    WriteLn('encodetime 25h raised: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
  try
    t := EncodeDate(2023, 2, 29);
  except
    WriteLn('encodedate 2023-02-29 raised: ' + ExceptionToString(ExceptionType, ExceptionParam));
  end;
end.
