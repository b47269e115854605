{ Sets of enumerations, Byte and Char: in, Include/Exclude, union,
  difference, intersection, equality and subset tests between set
  variables, empty set, set literals with constant elements. }
type
  TColor = (clRed, clGreen, clBlue);
  TColors = set of TColor;
  TBytes = set of Byte;
  TChars = set of Char;
var
  s, s2: TColors;
  b: TBytes;
  bv: Byte;
  cs: TChars;
  c: Char;
  i: Integer;
  vowels: string;
begin
  s := [clRed, clBlue];
  if clRed in s then WriteLn('red in');
  if not (clGreen in s) then WriteLn('green not in');
  Include(s, clGreen);
  if clGreen in s then WriteLn('include green');
  Exclude(s, clRed);
  if not (clRed in s) then WriteLn('exclude red');
  s := s + [clRed];
  s := s - [clBlue];
  s := s * [clRed, clBlue];
  s2 := [clRed];
  if s = s2 then WriteLn('union/difference/intersection = [red]');
  s2 := [clRed, clBlue];
  if s <> s2 then WriteLn('not equal');
  if s <= s2 then WriteLn('subset');
  if s2 >= s then WriteLn('superset');
  s := []; s2 := [];
  if s = s2 then WriteLn('empty sets equal');
  b := [1, 5, 200];
  bv := 200;
  if bv in b then WriteLn('200 in byte set');
  bv := 6;
  if not (bv in b) then WriteLn('6 not in byte set');
  cs := ['a', 'e', 'i', 'o', 'u'];
  vowels := '';
  for i := 1 to 11 do
  begin
    c := Copy('news filter', i, 1)[1];
    if c in cs then vowels := vowels + c;
  end;
  WriteLn('vowels=' + vowels);
  i := 5;
  if i in [1, 5, 9] then WriteLn('5 in [1,5,9]');
  WriteLn('sizes ' + IntToStr(SizeOf(s)) + ' ' + IntToStr(SizeOf(b)) + ' ' + IntToStr(SizeOf(cs)));
end.
