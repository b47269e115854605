{ Ord gives a Cardinal: arithmetic on it is done in Cardinal, a variable's value passes unchanged, a constant is
  cut to 32 bits. }
type TE = (ea, eb, ec);
var c: Char; b: Boolean; e: TE; w: Word; sh: ShortInt; j: Int64; i: Integer;
begin
  c := 'q'; b := True; e := ec; w := 5; sh := -5; j := -5;
  WriteLn(IntToStr(Ord(c) - 200) + ' ' + IntToStr(Ord(e) - 5) + ' ' + IntToStr(Ord(w) - 10));
  WriteLn(IntToStr(Ord(j) - 10) + ' ' + IntToStr(Ord(sh)));
  j := 9999999999; WriteLn(IntToStr(Ord(j)));
  WriteLn(IntToStr(Ord(-5)) + ' ' + IntToStr(Ord(-5) + 1) + ' ' + IntToStr(Ord('a') - 200));
  i := (Ord(b) - 65535) mod 4; WriteLn(IntToStr(i));
  i := Ord(b) - 3; WriteLn(IntToStr(i));
  case (Ord(b) - 65535) mod 4 of 1, 2: WriteLn('one or two'); else WriteLn('else'); end;
  WriteLn(IntToStr(Ord(c) * 100000000));
end.
