{ Ordinal routines: Ord, Chr, Succ, Pred, Inc, Dec (one argument only),
  Low, High and SizeOf on variables of the integer types, Ord of Char and
  of a Boolean expression. }
var
  i: Integer;
  b: Byte;
  c: Char;
  i64: Int64;
  w: Word;
  ok: Boolean;
begin
  i := 10;
  Inc(i); Inc(i); Dec(i);
  WriteLn('inc/dec=' + IntToStr(i) + ' succ=' + IntToStr(Succ(i)) + ' pred=' + IntToStr(Pred(i)));
  i64 := 4294967295;
  Inc(i64);
  WriteLn('inc int64=' + IntToStr(i64));
  b := 255;
  WriteLn('succ byte 255=' + IntToStr(Succ(b)));
  c := 'A';
  WriteLn('ord=' + IntToStr(Ord(c)) + ' chr=' + Chr(Ord(c) + 2) + ' chr(48)=' + Chr(48) + ' ord(''z'')=' + IntToStr(Ord('z')));
  ok := i > 5;
  WriteLn('ord(boolean expr)=' + IntToStr(Ord(ok)) + ' ord(i=0)=' + IntToStr(Ord(i = 0)));
  WriteLn('low/high integer ' + IntToStr(Low(i)) + ' ' + IntToStr(High(i)));
  WriteLn('low/high word ' + IntToStr(Low(w)) + ' ' + IntToStr(High(w)));
  WriteLn('low/high int64 ' + IntToStr(Low(i64)) + ' ' + IntToStr(High(i64)));
  WriteLn('sizeof byte/word/integer/int64/char ' + IntToStr(SizeOf(b)) + IntToStr(SizeOf(w)) + IntToStr(SizeOf(i)) + IntToStr(SizeOf(i64)) + IntToStr(SizeOf(c)));
end.
