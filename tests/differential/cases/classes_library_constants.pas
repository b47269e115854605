{ The constants the classes library declares: stream origins, file modes, parser token kinds. }
var c: Char; i: Integer;
begin
  WriteLn(IntToStr(soFromBeginning) + ' ' + IntToStr(soFromCurrent) + ' ' + IntToStr(soFromEnd));
  WriteLn(IntToStr(fmCreate) + ' ' + IntToStr(fmOpenRead) + ' ' + IntToStr(fmOpenWrite) + ' ' + IntToStr(fmOpenReadWrite));
  WriteLn(IntToStr(fmShareCompat) + ' ' + IntToStr(fmShareExclusive) + ' ' + IntToStr(fmShareDenyWrite) + ' ' + IntToStr(fmShareDenyRead) + ' ' + IntToStr(fmShareDenyNone));
  WriteLn(IntToStr(fmOpenReadWrite or fmShareDenyNone));
  c := toFloat; WriteLn(IntToStr(Ord(c)) + ' ' + IntToStr(Ord(toEOF)) + ' ' + IntToStr(Ord(ToInteger)));
  if toSymbol = #1 then WriteLn('symbol');
  i := fmCreate; WriteLn(IntToStr(i * 2));
  WriteLn(IntToStr(SecsPerDay) + ' ' + IntToStr(MSecPerDay) + ' ' + IntToStr(DateDelta));
end.
